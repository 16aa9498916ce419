# Font sets for the report tests: a fontconfig file each, naming folders of
# Debian's font packages (installed by scripts/setup.sh), so that a test
# sees the same fonts on every machine. torvane_font_set(NAME DIR...)
# writes ${CMAKE_BINARY_DIR}/fonts/NAME.conf and sets TORVANE_FONTS_NAME to
# its path, for FONTCONFIG_FILE.
function(torvane_font_set name)
  set(TORVANE_FONT_DIRS "")
  foreach(dir IN LISTS ARGN)
    string(APPEND TORVANE_FONT_DIRS "  <dir>${dir}</dir>\n")
  endforeach()
  set(TORVANE_FONT_CACHE ${CMAKE_BINARY_DIR}/fonts/cache)
  configure_file(${PROJECT_SOURCE_DIR}/tests/fonts/fonts.conf.in
                 ${CMAKE_BINARY_DIR}/fonts/${name}.conf @ONLY)
  set(TORVANE_FONTS_${name} ${CMAKE_BINARY_DIR}/fonts/${name}.conf PARENT_SCOPE)
endfunction()

set(TORVANE_WQY_FONTS /usr/share/fonts/truetype/wqy)     # fonts-wqy-microhei
set(TORVANE_NOTO_FONTS /usr/share/fonts/opentype/noto)   # fonts-noto-cjk
set(TORVANE_LATIN_FONTS /usr/share/fonts/truetype/dejavu)  # fonts-dejavu-core
# What a Chinese desktop has: both Chinese fonts, and a Latin one.
torvane_font_set(desktop ${TORVANE_NOTO_FONTS} ${TORVANE_WQY_FONTS} ${TORVANE_LATIN_FONTS})
# Each preferred Chinese font alone.
torvane_font_set(wqy ${TORVANE_WQY_FONTS})
torvane_font_set(noto ${TORVANE_NOTO_FONTS})
# A server installed without recommends: no Chinese font.
torvane_font_set(latin ${TORVANE_LATIN_FONTS})
