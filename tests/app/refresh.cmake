# The refresh cycle and start-up.
