# Tests of the page readers.
voltwise_add_qtest(test_page_readers SOURCES test_page_readers.cpp LIBS voltwise_core)
voltwise_add_qtest(test_outlook_reader SOURCES test_outlook_reader.cpp LIBS voltwise_core)
