# The main window.
