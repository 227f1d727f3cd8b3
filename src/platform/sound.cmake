# sound
