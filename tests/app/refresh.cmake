voltwise_add_qtest(test_minute_counter SOURCES test_minute_counter.cpp LIBS voltwise_core)
voltwise_add_qtest(test_grid_readers SOURCES test_grid_readers.cpp
    LIBS voltwise_core voltwise_gridsim_lib)
