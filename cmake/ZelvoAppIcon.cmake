# The application icon is drawn once, as packaging/zelvo.svg; the sizes that
# desktops look up are rendered from it at build time, so the window, the menu
# and the package always show the same picture.
find_program(ZELVO_RSVG_CONVERT rsvg-convert)
if(NOT ZELVO_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert not found: install the Debian package librsvg2-bin "
                      "(bash scripts/install-deps.sh does)")
endif()

set(ZELVO_ICON_SVG ${PROJECT_SOURCE_DIR}/packaging/zelvo.svg)
set(ZELVO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(ZELVO_ICON_DIR ${PROJECT_BINARY_DIR}/icons)

# Renders every size as icons/<size>.png and puts them into TARGET as the Qt
# resource folder :/icon, where the program takes its window icon from.
function(zelvo_add_app_icon target)
  set(pngs)
  foreach(size IN LISTS ZELVO_ICON_SIZES)
    set(png ${ZELVO_ICON_DIR}/${size}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELVO_ICON_DIR}
      COMMAND ${ZELVO_RSVG_CONVERT} --width ${size} --height ${size} --output ${png}
              ${ZELVO_ICON_SVG}
      DEPENDS ${ZELVO_ICON_SVG}
      COMMENT "Rendering the ${size} px application icon"
      VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  qt_add_resources(${target} zelvo_app_icon PREFIX /icon BASE ${ZELVO_ICON_DIR} FILES ${pngs})
endfunction()

# The same picture as icons/zelvo.ico (16, 32, 48 and 256 px) for the Windows
# executable's resource and the installer. Needs icotool (Debian icoutils).
function(zelvo_add_windows_icon out_var)
  find_program(ZELVO_ICOTOOL icotool)
  if(NOT ZELVO_ICOTOOL)
    message(FATAL_ERROR "icotool not found: install the Debian package icoutils "
                        "(bash scripts/windows.sh does)")
  endif()
  set(ico ${ZELVO_ICON_DIR}/zelvo.ico)
  set(sources)
  foreach(size 16 32 48 256)
    list(APPEND sources ${ZELVO_ICON_DIR}/${size}.png)
  endforeach()
  add_custom_command(OUTPUT ${ico}
    COMMAND ${ZELVO_ICOTOOL} --create --output=${ico} ${sources}
    DEPENDS ${sources}
    COMMENT "Packing the Windows icon"
    VERBATIM)
  set(${out_var} ${ico} PARENT_SCOPE)
endfunction()
