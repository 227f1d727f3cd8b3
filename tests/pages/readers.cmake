# Tests of the page readers.
voltwise_add_qtest(test_notices_reader SOURCES test_notices_reader.cpp LIBS voltwise_core)
voltwise_add_qtest(test_forecast_reader SOURCES test_forecast_reader.cpp LIBS voltwise_core)
voltwise_add_qtest(test_outlook_reader SOURCES test_outlook_reader.cpp LIBS voltwise_core)
