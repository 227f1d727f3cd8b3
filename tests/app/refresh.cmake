voltwise_add_qtest(test_minute_counter SOURCES test_minute_counter.cpp LIBS voltwise_core)
voltwise_add_qtest(test_grid_readers SOURCES test_grid_readers.cpp
    LIBS voltwise_core voltwise_gridsim_lib)
voltwise_add_qtest(test_status_tool SOURCES test_status_tool.cpp
    LIBS voltwise_core voltwise_gridsim_lib)
target_compile_definitions(test_status_tool PRIVATE
    VOLTWISE_STATUS_TOOL="$<TARGET_FILE:voltwise-status>")
add_dependencies(test_status_tool voltwise-status)
