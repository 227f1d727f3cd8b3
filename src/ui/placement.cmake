# Window placement: the rules in the core, applying them to widgets in the GUI.
target_sources(voltwise_core PRIVATE
    window_placement_rules.h window_placement_rules.cpp)
target_sources(voltwise_gui PRIVATE
    window_placement.h window_placement.cpp)
