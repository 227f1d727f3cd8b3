# Tests of the pop-up notice.
