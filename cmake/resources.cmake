# The manifest names the program's version as well: it is made from the
# numbers in version.h, and made again when they change.
foreach(part MAJOR MINOR PATCH BUILD)
  file(STRINGS ${CMAKE_SOURCE_DIR}/resources/version.h line REGEX "^#define TOLVANE_VERSION_${part} [0-9]+$")
  string(REGEX REPLACE ".* " "" TOLVANE_VERSION_${part} "${line}")
endforeach()
# Its comments are for us, not for the loader: the program carries it
# without them (a comment must hold no '>').
file(READ ${CMAKE_SOURCE_DIR}/resources/tolvane.manifest.in manifest)
string(REGEX REPLACE "[ \n]*<!--[^>]*-->" "" manifest "${manifest}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/resources/tolvane.manifest CONTENT "${manifest}" @ONLY)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/version.h ${CMAKE_SOURCE_DIR}/resources/tolvane.manifest.in)

# Links the program's resource script (icon, banner, skin engine, skins,
# version block) into a target: the program, and the in-process tests that
# build the real window.
function(tolvane_add_resources target)
  set(dir ${CMAKE_SOURCE_DIR}/resources)
  target_sources(${target} PRIVATE ${dir}/tolvane.rc)
  set_source_files_properties(${dir}/tolvane.rc TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${dir}/banner.jpg;${dir}/tolvane.ico;${dir}/skin2008.she;${dir}/skin2009.she;${CMAKE_BINARY_DIR}/resources/tolvane.manifest;${dir}/version.h;${dir}/version_block.rc;${dir}/resource_ids.h;${CMAKE_BINARY_DIR}/skin_engine/Skin.dll")
  target_include_directories(${target} PRIVATE ${dir} ${CMAKE_BINARY_DIR}/resources ${CMAKE_BINARY_DIR}/skin_engine)
  add_dependencies(${target} skin_engine)
endfunction()
