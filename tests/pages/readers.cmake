# Tests of the page readers.
