# Tests of the pop-up notice.
voltwise_add_qtest(test_notice_layout SOURCES test_notice_layout.cpp LIBS voltwise_core)
voltwise_add_qtest(test_notice_window SOURCES test_notice_window.cpp LIBS voltwise_gui)
target_include_directories(test_notice_window PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../platform)
