# Pure code: no windows.h. Built into the Windows program and, natively, into
# the unit tests and fuzz targets.
set(TOLVANE_CORE_SOURCES
  app/form_table.cpp
  app/tab_layout.cpp
  app/gradient.cpp
  app/date_text.cpp
  app/fatal_text.cpp
  app/geometry.cpp
  app/filter_list.cpp
  locator/text_scan.cpp
  locator/install_paths.cpp
  skin/skin_plan.cpp
)
# The skin engine's pure part: the skin file format.
set(ENGINE_CORE_SOURCES
  engine/she_format.cpp
)
