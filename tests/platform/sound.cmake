# Tests of the notice sound and the data file paths.

# The recording stand-in for other tests: include "platform/recording_sound_player.h".
add_library(voltwise_sound_fake INTERFACE)
target_include_directories(voltwise_sound_fake INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/..)
target_link_libraries(voltwise_sound_fake INTERFACE voltwise_core)

voltwise_add_qtest(test_sound SOURCES test_sound.cpp LIBS voltwise_gui)
