# The page readers.
target_sources(voltwise_core PRIVATE
    page_sections.h page_sections.cpp
    notices_reader.h notices_reader.cpp
    forecast_reader.h forecast_reader.cpp
    outlook_values.h
    outlook_reader.h outlook_reader.cpp)
