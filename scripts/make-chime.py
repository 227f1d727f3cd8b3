#!/usr/bin/env python3
"""Writes data/notice.wav: a short two-tone chime (a higher note, then a
lower one) as mono 16-bit PCM at 22050 Hz. Deterministic, so re-running it
gives the same file."""

import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
PEAK = 0.55  # of full scale, leaving head room for the overlap of both notes

# (start in seconds, frequency in Hz, length in seconds)
NOTES = [
    (0.00, 783.99, 0.55),  # G5
    (0.18, 587.33, 0.62),  # D5
]
LENGTH = 0.80
ATTACK = 0.006  # short fade-in so the note starts without a click


def note_sample(t, freq, length):
    if t < 0 or t >= length:
        return 0.0
    envelope = min(1.0, t / ATTACK) * math.exp(-5.5 * t / length)
    # A soft bell colour: the fundamental with two quiet overtones.
    tone = (math.sin(2 * math.pi * freq * t)
            + 0.30 * math.sin(2 * math.pi * 2 * freq * t)
            + 0.08 * math.sin(2 * math.pi * 3 * freq * t)) / 1.38
    # Fade the tail to exact silence.
    tail = min(1.0, (length - t) / 0.05)
    return envelope * tone * tail


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else (
        Path(__file__).resolve().parent.parent / "data" / "notice.wav")
    frames = bytearray()
    for i in range(int(RATE * LENGTH)):
        t = i / RATE
        value = sum(note_sample(t - start, freq, length) for start, freq, length in NOTES)
        value = max(-1.0, min(1.0, value * PEAK))
        frames += struct.pack("<h", int(round(value * 32767)))
    with wave.open(str(out), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
