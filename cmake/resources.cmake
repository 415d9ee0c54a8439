# Links the program's resource script (icon, banner, skin engine, skins,
# version block) into a target: the program, and the in-process tests that
# build the real window.
function(tolvane_add_resources target)
  set(dir ${CMAKE_SOURCE_DIR}/resources)
  target_sources(${target} PRIVATE ${dir}/tolvane.rc)
  set_source_files_properties(${dir}/tolvane.rc TARGET_DIRECTORY ${target} PROPERTIES
    OBJECT_DEPENDS "${dir}/banner.jpg;${dir}/tolvane.ico;${dir}/skin2008.she;${dir}/skin2009.she;${dir}/tolvane.manifest;${dir}/version.h;${dir}/version_block.rc;${dir}/resource_ids.h;${CMAKE_BINARY_DIR}/engine/Skin.dll")
  target_include_directories(${target} PRIVATE ${dir} ${CMAKE_BINARY_DIR}/engine)
  add_dependencies(${target} skin_engine)
endfunction()
