# The notice sound and the program's data files.
include(GNUInstallDirs)

target_sources(voltwise_core PRIVATE data_files.h data_files.cpp)
target_sources(voltwise_gui PRIVATE sound_player.h sound_player.cpp)

# The programs find their data beside them in the build tree, as installed
# ones find it in share/voltwise.
set(VOLTWISE_NOTICE_WAV ${PROJECT_SOURCE_DIR}/data/notice.wav)
add_custom_command(
    OUTPUT ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/notice.wav
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${VOLTWISE_NOTICE_WAV} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/notice.wav
    DEPENDS ${VOLTWISE_NOTICE_WAV}
    COMMENT "Copying notice.wav beside the programs"
    VERBATIM)
add_custom_target(voltwise_data_files ALL DEPENDS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/notice.wav)
add_dependencies(voltwise_gui voltwise_data_files)

install(FILES ${VOLTWISE_NOTICE_WAV} DESTINATION ${CMAKE_INSTALL_DATADIR}/voltwise)
