# Pure code: no windows.h. Built into the Windows program and, natively, into
# the unit tests and fuzz targets.
set(TOLVANE_CORE_SOURCES
  core/gradient.cpp
  core/fatal_text.cpp
  toolkit/form_table.cpp
  toolkit/tab_layout.cpp
  toolkit/geometry.cpp
  toolkit/filter_list.cpp
  navigation/date_text.cpp
  locator/text_scan.cpp
  locator/install_paths.cpp
  skin/skin_plan.cpp
)
# The skin engine's pure part: the skin file format and the frame's layout.
set(ENGINE_CORE_SOURCES
  engine/she_format.cpp
  engine/frame_geometry.cpp
)
