# Window placement.
