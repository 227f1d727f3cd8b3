target_sources(voltwise_core PRIVATE single_instance.h single_instance.cpp)
