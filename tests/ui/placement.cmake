# Window placement.
voltwise_add_qtest(test_window_placement_rules SOURCES test_window_placement_rules.cpp
    LIBS voltwise_core)
voltwise_add_qtest(test_window_placement SOURCES test_window_placement.cpp LIBS voltwise_gui)
