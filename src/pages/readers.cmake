# The page readers.
