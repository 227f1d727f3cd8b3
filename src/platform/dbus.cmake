# The adaptor is generated here, so its target must live here too.
qt_add_dbus_adaptor(voltwise_dbus_adaptor_sources
    com.ternwood.Voltwise.GridStatus.xml
    platform/published_items_bus.h voltwise::PublishedItemsBus
    gridstatusadaptor GridStatusAdaptor)
add_library(voltwise_published_items_bus STATIC
    published_items_bus.h published_items_bus.cpp ${voltwise_dbus_adaptor_sources})
target_include_directories(voltwise_published_items_bus PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(voltwise_published_items_bus PUBLIC voltwise_core Qt6::DBus)
target_link_libraries(voltwise_gui PUBLIC voltwise_published_items_bus)
