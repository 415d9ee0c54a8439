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

# The layer folders, bottom up, as buildcheck/layers.txt lists them: the one
# list the build, the native build and the checks all read, so a new layer is
# written down once. Each folder whose unit has targets builds them in its own
# CMakeLists.txt; with PURE, only the folders of units without windows.h.
function(tolvane_layer_folders out)
  cmake_parse_arguments(PARSE_ARGV 1 arg PURE "" "")
  set(rules ${CMAKE_SOURCE_DIR}/buildcheck/layers.txt)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rules})
  file(STRINGS ${rules} lines)
  set(folders)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(REGEX MATCHALL "[^ \t]+" fields "${line}")
    list(LENGTH fields count)
    if(count LESS 4)
      continue()
    endif()
    list(GET fields 1 files)
    list(GET fields 2 targets)
    list(GET fields 3 pure)
    string(REGEX REPLACE "/.*" "" folder "${files}")
    if(NOT targets STREQUAL "-" AND (NOT arg_PURE OR pure STREQUAL "yes"))
      list(APPEND folders ${folder})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set(${out} ${folders} PARENT_SCOPE)
endfunction()
