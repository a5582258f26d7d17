# Removes from the list variable LIST_VAR the sources that belong to the other
# system. The rule goes by file name, so a seam's implementations sit side by
# side in their subsystem folder:
#   Win32*                               Windows only
#   Posix*, Unix*, QtSerial*, Qt5Compat*  every other system
function(zelvo_platform_sources list_var)
  set(kept)
  foreach(file IN LISTS ${list_var})
    get_filename_component(name ${file} NAME)
    if(WIN32 AND name MATCHES "^(Posix|Unix|QtSerial|Qt5Compat)")
      continue()
    endif()
    if(NOT WIN32 AND name MATCHES "^Win32")
      continue()
    endif()
    list(APPEND kept ${file})
  endforeach()
  set(${list_var} ${kept} PARENT_SCOPE)
endfunction()
