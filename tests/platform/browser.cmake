# Opening web addresses and keeping windows on top.
voltwise_add_qtest(test_browser SOURCES test_browser.cpp recording_browser_opener.h
    LIBS voltwise_core)
voltwise_add_qtest(test_always_on_top SOURCES test_always_on_top.cpp LIBS voltwise_gui)
