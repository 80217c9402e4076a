# Tests of the lumoidl Python binding; run with unittest discovery from the python folder.
