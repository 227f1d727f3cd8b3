# The pop-up notice.
target_sources(voltwise_core PRIVATE notice_layout.h notice_layout.cpp)
target_sources(voltwise_gui PRIVATE notice_window.h notice_window.cpp)
