# One interface target that every Zelvo target links: warnings, Qt strictness
# and the optional sanitizers live here and nowhere else.
add_library(zelvo_options INTERFACE)
target_compile_options(zelvo_options INTERFACE
  -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wcast-align -Wunused)
target_compile_definitions(zelvo_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH QT_DISABLE_DEPRECATED_BEFORE=0x050F00)
if(ZELVO_WERROR)
  target_compile_options(zelvo_options INTERFACE -Werror)
endif()
if(ZELVO_SANITIZE)
  target_compile_options(zelvo_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(zelvo_options INTERFACE -fsanitize=address,undefined)
endif()
