# A DLL that leaves a mark when loaded: planted under a system DLL's name
# beside a program, it must never be loaded.
add_library(planted_marker SHARED ${CMAKE_CURRENT_LIST_DIR}/planted_marker.cpp)
set_target_properties(planted_marker PROPERTIES PREFIX "")
