# What `cmake --install` puts on the system, and the Debian package that CPack
# builds from the same install tree (scripts/package.sh).
include(GNUInstallDirs)

set(ZELVO_HOMEPAGE_URL "https://zelvo.example" CACHE STRING
    "The project's home page, in the package and the AppStream metadata")
set(ZELVO_SCREENSHOTS_URL "${ZELVO_HOMEPAGE_URL}/docs/screenshots" CACHE STRING
    "Where the pictures of docs/screenshots are published, for software centres")
set(ZELVO_PACKAGE_MAINTAINER "Zelvo Software <support@zelvo.example>" CACHE STRING
    "The Maintainer field of the Debian package")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/zelvo)

# Programs. zelvo-cli is built only where its sources are present.
set(programs zelvo zelvo-sim)
if(TARGET zelvo-cli)
  list(APPEND programs zelvo-cli)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop entry and AppStream metadata, named after the application id.
list(TRANSFORM programs PREPEND "<binary>" OUTPUT_VARIABLE binaries)
list(TRANSFORM binaries APPEND "</binary>")
list(JOIN binaries "\n    " ZELVO_PROVIDED_BINARIES)
configure_file(${packaging}/zelvo.desktop.in ${generated}/${ZELVO_APP_ID}.desktop @ONLY)
configure_file(${packaging}/zelvo.metainfo.xml.in ${generated}/${ZELVO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${ZELVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${ZELVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the drawing itself and the sizes rendered from it for the window.
foreach(size IN LISTS ZELVO_ICON_SIZES)
  install(FILES ${ZELVO_ICON_DIR}/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${ZELVO_APP_ID}.png)
endforeach()
install(FILES ${ZELVO_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ZELVO_APP_ID}.svg)

# Manual pages, compressed as Debian keeps them.
find_program(ZELVO_GZIP gzip REQUIRED)
set(pages zelvo zelvo-sim)
if(TARGET zelvo-cli)
  list(APPEND pages zelvo-cli)
endif()
set(compressed_pages)
foreach(page IN LISTS pages)
  configure_file(${packaging}/man/${page}.1.in ${generated}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${generated}/man/${page}.1.gz
    COMMAND ${ZELVO_GZIP} -9 -n -f -k ${generated}/man/${page}.1
    DEPENDS ${generated}/man/${page}.1
    VERBATIM)
  list(APPEND compressed_pages ${generated}/man/${page}.1.gz)
endforeach()
add_custom_target(zelvo_manpages ALL DEPENDS ${compressed_pages})
install(FILES ${compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${packaging}/debian/README.Debian DESTINATION ${docdir})

# The Debian package. Its dependencies are what dpkg-shlibdeps finds the
# programs linked against; only what no program links (the toolkit's Russian
# texts) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvo)
set(CPACK_PACKAGE_VENDOR "Zelvo Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure a receipt-printing device over a serial line")
set(CPACK_PACKAGE_DESCRIPTION
    "Zelvo is the desktop program with which an office operator configures a
receipt-printing device over a serial line: operators, document name,
services, additional requisites, cliches, the eight BSO forms with a print
preview, the goods database, the taxpayer number and the state query. Its
windows are in Russian.
.
zelvo-cli offers the same functions for scripts; zelvo-sim serves an emulated
device on a pseudo-terminal.")
set(CPACK_PACKAGE_CONTACT "${ZELVO_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZELVO_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging}/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
