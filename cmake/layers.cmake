# A folder's pure part: no windows.h. Each folder builds its own, in its own
# CMakeLists.txt, and both builds take it from there: the Windows program and,
# natively, the unit tests and fuzz targets (tests/native).
function(tolvane_pure_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(WIN32)
    target_compile_options(${name} PRIVATE ${TOLVANE_PROGRAM_FLAGS})
  endif()
endfunction()
