# Stand-in skin engines: the program loads whatever sits at the engine's path.
foreach(kind RECORDING CDECL NO_EXPORT)
  string(TOLOWER ${kind} lower)
  add_library(test_engine_${lower} SHARED ${CMAKE_CURRENT_LIST_DIR}/test_engines.cpp)
  target_compile_definitions(test_engine_${lower} PRIVATE TEST_ENGINE_${kind})
  # Exported names without the @8 of stdcall, as the real engine's are.
  target_link_options(test_engine_${lower} PRIVATE -Wl,--kill-at)
  set_target_properties(test_engine_${lower} PROPERTIES PREFIX "")
endforeach()
