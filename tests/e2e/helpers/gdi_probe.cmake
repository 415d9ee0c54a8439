# Loaded into the program under test, it counts that process's GDI headroom.
add_library(gdi_probe SHARED ${CMAKE_CURRENT_LIST_DIR}/gdi_probe.cpp)
target_link_libraries(gdi_probe PRIVATE e2e_driver)
# The export without the @4 of stdcall, so that both sides find it by one name.
target_link_options(gdi_probe PRIVATE -Wl,--kill-at)
set_target_properties(gdi_probe PROPERTIES PREFIX "")
