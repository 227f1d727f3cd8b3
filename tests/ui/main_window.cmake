# The main window against the in-process simulator.
# voltwise_sound_fake also puts tests/ on the include path for the browser fake.
voltwise_add_qtest(test_main_window SOURCES test_main_window.cpp
    LIBS voltwise_gui voltwise_gridsim_lib voltwise_sound_fake)
