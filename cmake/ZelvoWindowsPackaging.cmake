# What Zelvo for Windows installs into its folder (scripts/windows.sh gathers
# it with `cmake --install` and packs it with NSIS): the two programs, the Qt
# libraries and plugins they load, the compiler's runtime, Qt's Russian
# translations and a qt.conf that tells Qt where they are.

set(ZELVO_WINDOWS_RUNTIME_DIR "" CACHE PATH
    "The mingw-w64 runtime DLLs (libstdc++, libgcc, winpthread) to ship beside the programs")
set(ZELVO_QT_TRANSLATIONS_DIR /usr/share/qt6/translations CACHE PATH
    "Where Qt's translations (qtbase_ru.qm) are taken from")

install(TARGETS zelvo zelvo-cli RUNTIME DESTINATION .)

get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qt_core_dll)
  get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(qt_bin_dir ${qt_core_dll} DIRECTORY)
get_filename_component(qt_prefix ${qt_bin_dir} DIRECTORY)

foreach(module Core Gui Widgets PrintSupport)
  install(FILES ${qt_bin_dir}/Qt6${module}.dll DESTINATION .)
endforeach()
install(FILES ${qt_prefix}/plugins/platforms/qwindows.dll DESTINATION plugins/platforms)
install(FILES ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION plugins/styles)
if(ZELVO_WINDOWS_RUNTIME_DIR)
  file(GLOB runtime_dlls ${ZELVO_WINDOWS_RUNTIME_DIR}/*.dll)
  install(FILES ${runtime_dlls} DESTINATION .)
endif()
install(FILES ${ZELVO_QT_TRANSLATIONS_DIR}/qtbase_ru.qm DESTINATION translations)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/qt.conf DESTINATION .)
