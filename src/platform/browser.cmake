# Opening web addresses and keeping windows on top.
target_sources(voltwise_core PRIVATE browser.h browser.cpp)
target_sources(voltwise_gui PRIVATE
    desktop_browser_opener.h desktop_browser_opener.cpp
    always_on_top.h always_on_top.cpp)
