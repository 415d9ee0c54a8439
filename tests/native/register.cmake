# Native test programs, registered in the Windows build's ctest.
add_test(NAME unit.core COMMAND ${CMAKE_BINARY_DIR}/native/tests/native/core_unit_tests --gtest_brief=1)
set(NATIVE_DIR ${CMAKE_BINARY_DIR}/fuzz/tests/native)
file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(src IN LISTS fuzz_sources)
  get_filename_component(name ${src} NAME_WE)
  # A bounded run from the seed corpus; new inputs go to a scratch folder.
  add_test(NAME fuzz.${name}
    COMMAND sh -c "mkdir -p '${NATIVE_DIR}/${name}.corpus' && exec '${NATIVE_DIR}/${name}' -max_total_time=${TOLVANE_FUZZ_SECONDS} -timeout=5 -rss_limit_mb=1024 '${NATIVE_DIR}/${name}.corpus' '${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name}'")
endforeach()
