# The pop-up notice.
