# Every target of the program and the engine is made by tolvane_target, so
# that the program's own compile flags (TOLVANE_PROGRAM_FLAGS) are said once.
# KIND is STATIC, OBJECT or SHARED, or EXECUTABLE for the program itself. Sources
# are listed, not globbed: a file joins a layer by being named there.
function(tolvane_target name kind)
  if(kind STREQUAL "EXECUTABLE")
    add_executable(${name} WIN32 ${ARGN})
  else()
    add_library(${name} ${kind} ${ARGN})
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(WIN32)
    target_compile_options(${name} PRIVATE ${TOLVANE_PROGRAM_FLAGS})
  endif()
endfunction()

# A folder's pure part: no windows.h. Each folder builds its own, in its own
# CMakeLists.txt, and both builds take it from there: the Windows program and,
# natively, the unit tests and fuzz targets (tests/native).
function(tolvane_pure_library name)
  tolvane_target(${name} STATIC ${ARGN})
endfunction()
