# The stand-in web browser: a GUI program without a window that logs each
# address it is asked to open (see fake_browser.cpp).
add_executable(fake_browser WIN32 ${CMAKE_CURRENT_LIST_DIR}/fake_browser.cpp)
target_include_directories(fake_browser PRIVATE ${CMAKE_SOURCE_DIR})
# The tests that install it as the prefix's browser need it built first.
if(TARGET e2e_navigation_test)
  add_dependencies(e2e_navigation_test fake_browser)
endif()
