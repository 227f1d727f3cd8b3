# The main window.
target_sources(voltwise_gui PRIVATE
    twips.h
    label_styles.h label_styles.cpp
    status_strip.h status_strip.cpp
    conditions_panel.h conditions_panel.cpp)
target_sources(voltwise_gui PRIVATE
    exit_prompt.h exit_prompt.cpp
    main_window.h main_window.cpp)
