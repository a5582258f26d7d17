# The layers point down only. Fails when a file of the device layer (device/
# and its subfolders but its windows, links/ included) includes the emulator, the shell, any
# window or a subsystem that stands on it (configuration, forms, goods,
# administration, wizard, image), when a file of zelvo_core (the top
# level of a subsystem folder) includes a widget header, when any file of a
# subsystem, its windows included, includes the main window's folder (app/),
# or when a file of the shell includes a page (another subsystem's ui/).
#   cmake -DSOURCE_DIR=<src> -DWIDGETS_DIR=<QtWidgets include dir> -P CheckLayers.cmake
if(NOT IS_DIRECTORY "${SOURCE_DIR}" OR NOT IS_DIRECTORY "${WIDGETS_DIR}")
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR and WIDGETS_DIR must be folders")
endif()

file(GLOB widget_headers RELATIVE "${WIDGETS_DIR}" "${WIDGETS_DIR}/*")
list(FILTER widget_headers INCLUDE REGEX "^[A-Za-z0-9_.]+$")
string(REPLACE "." "\\." widget_alternatives "${widget_headers}")
string(REPLACE ";" "|" widget_alternatives "${widget_alternatives}")
set(widget_include "#[ \t]*include[ \t]*[<\"](QtWidgets/)?(${widget_alternatives})[>\"]")
set(device_include
    "#[ \t]*include[ \t]*[<\"](emulator/|shell/|config/|forms/|goods/|admin/|wizard/|image/|[A-Za-z_]+/ui/)")
set(app_include "#[ \t]*include[ \t]*[<\"]app/")
set(page_include "#[ \t]*include[ \t]*[<\"]([A-Za-z_]+)/ui/")

set(problems "")
file(GLOB subsystems LIST_DIRECTORIES true "${SOURCE_DIR}/*")
foreach(folder IN LISTS subsystems)
  if(NOT IS_DIRECTORY "${folder}")
    continue()
  endif()
  get_filename_component(subsystem "${folder}" NAME)
  # The programs' own folders are not part of zelvo_core.
  if(subsystem MATCHES "^(app|sim|cli)$")
    continue()
  endif()
  file(GLOB core_files "${folder}/*.h" "${folder}/*.cpp")
  # The device layer's subfolders (the links) are core files as well; its
  # windows (ui/) stand on the shell like every other subsystem's.
  if(subsystem STREQUAL "device")
    file(GLOB_RECURSE core_files "${folder}/*.h" "${folder}/*.cpp")
    list(FILTER core_files EXCLUDE REGEX "/ui/")
  endif()
  foreach(file IN LISTS core_files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "${widget_include}")
        string(APPEND problems "\n  ${file}: core file includes a widget header: ${line}")
      endif()
      if(subsystem STREQUAL "device" AND line MATCHES "${device_include}")
        string(APPEND problems "\n  ${file}: the device layer reaches up: ${line}")
      endif()
    endforeach()
  endforeach()
  # Pages and what they share sit below the main window and the code that
  # creates them.
  file(GLOB_RECURSE subsystem_files "${folder}/*.h" "${folder}/*.cpp")
  foreach(file IN LISTS subsystem_files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "${app_include}")
        string(APPEND problems "\n  ${file}: includes the main window's folder: ${line}")
      endif()
      # What the pages share stands under them: the shell includes no page.
      if(subsystem STREQUAL "shell" AND line MATCHES "${page_include}"
         AND NOT CMAKE_MATCH_1 STREQUAL "shell")
        string(APPEND problems "\n  ${file}: the shell includes a page: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Layer rules broken:${problems}")
endif()
message(STATUS "Layer rules hold in ${SOURCE_DIR}")
