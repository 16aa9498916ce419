# The Linux installation under a prefix (/usr in the package) and the Debian
# package CPack makes of it; `bash scripts/package.sh` builds it with
# Debian's hardening flags. The packaging sources are in packaging/linux/.
# Included for every build that is not for Windows: the icon images and the
# gzipped manual pages are made with the programs.
if(NOT TARGET torvane OR NOT TARGET torvane-icon)
  message(STATUS "No Debian package rules: the window is not built")
  return()
endif()

include(GNUInstallDirs)

# The reverse-DNS id: the names of the desktop entry, the metainfo and the
# icon. The window names its desktop entry the same (app/chinese_ui.h).
set(TORVANE_APP_ID io.github.torvane.Torvane)
set(packaging ${PROJECT_SOURCE_DIR}/packaging/linux)
set(generated ${CMAKE_BINARY_DIR}/packaging)
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/torvane)
find_program(TORVANE_GZIP gzip REQUIRED)

# The Debian revision and the maintainer come from the top entry of the
# Debian changelog, so that the package and its changelog cannot disagree;
# a change of the changelog runs CMake again.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging}/changelog)
file(STRINGS ${packaging}/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^torvane \\(([^)-]+)-([^)]+)\\) ")
  message(FATAL_ERROR "packaging/linux/changelog: the top line is not \"torvane (VERSION-REVISION) ...\"")
endif()
set(changelog_version ${CMAKE_MATCH_1})
set(TORVANE_DEBIAN_REVISION ${CMAKE_MATCH_2})
if(NOT changelog_version STREQUAL PROJECT_VERSION)
  message(WARNING "packaging/linux/changelog is for version ${changelog_version}, the project is "
    "${PROJECT_VERSION}: add an entry for it before building the package")
endif()
file(STRINGS ${packaging}/changelog changelog_trailers REGEX "^ -- ")
list(GET changelog_trailers 0 changelog_trailer)
string(REGEX REPLACE "^ -- (.*>)  .*$" "\\1" TORVANE_DEBIAN_MAINTAINER "${changelog_trailer}")

# The programs. Stripped (CPack strips), they lose the compiler's
# .comment section and any .note too, as Debian's dh_strip leaves them.
install(TARGETS torvane torvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program torvane torvane-cli)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")

# The icon in the hicolor theme's sizes, drawn by the window's own code.
set(icon_sizes 16 22 24 32 48 64 128 256)
list(JOIN icon_sizes ", " icon_sizes_text)
set(icon_images)
foreach(size IN LISTS icon_sizes)
  list(APPEND icon_images ${generated}/icons/icon-${size}.png)
endforeach()
add_custom_command(OUTPUT ${icon_images}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons
  # Headless; a sanitized build's leak check is for the tests, not this.
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:torvane-icon> ${generated}/icons ${icon_sizes}
  DEPENDS torvane-icon
  COMMENT "Drawing the icon at ${icon_sizes_text} pixels"
  VERBATIM)
foreach(size IN LISTS icon_sizes)
  install(FILES ${generated}/icons/icon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${TORVANE_APP_ID}.png)
endforeach()

# The manual pages, with the version filled in, and the Debian changelog,
# compressed as Debian wants them: gzip -9, without name or time stamp.
set(gzipped)
foreach(page torvane.1 torvane-cli.1)
  # Filled in beside, not where gzip replaces the copy by its .gz.
  configure_file(${packaging}/${page}.in ${generated}/source/${page} @ONLY)
endforeach()
foreach(file man/torvane.1 man/torvane-cli.1 changelog.Debian)
  if(file STREQUAL "changelog.Debian")
    set(source ${packaging}/changelog)
  else()
    get_filename_component(page ${file} NAME)
    set(source ${generated}/source/${page})
  endif()
  add_custom_command(OUTPUT ${generated}/${file}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${generated}/${file}
    COMMAND ${TORVANE_GZIP} -9nf ${generated}/${file}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND gzipped ${generated}/${file}.gz)
endforeach()
add_custom_target(torvane_package_files ALL DEPENDS ${icon_images} ${gzipped})
install(FILES ${generated}/man/torvane.1.gz ${generated}/man/torvane-cli.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The menu entry and the software centres' description.
install(FILES ${packaging}/${TORVANE_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${packaging}/${TORVANE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

# The documentation Debian asks for, and the examples the manual pages use.
install(FILES ${packaging}/copyright ${generated}/changelog.Debian.gz DESTINATION ${doc_dir})
install(FILES ${PROJECT_SOURCE_DIR}/examples/points.csv
  ${PROJECT_SOURCE_DIR}/examples/points-construction.txt
  ${PROJECT_SOURCE_DIR}/examples/control-points.csv
  DESTINATION ${doc_dir}/examples)
if(EXISTS ${packaging}/lintian-overrides)
  install(FILES ${packaging}/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME torvane)
endif()

# The package: torvane_VERSION-REVISION_ARCH.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR "The Torvane authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TORVANE_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TORVANE_DEBIAN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "convert coordinates between survey and construction grids")
# Lines of at most 80 characters; CPack puts the leading space on each and
# a "." on the empty ones, and strips the last line (which therefore must
# not be one of the indented list).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Torvane converts point coordinates between the survey (mapping) grid,
测图坐标, and a construction (site) grid, 施工坐标, which differ by a
translation and a rotation; heights pass through unchanged. The rotation
is given in ddd.mmss, as on survey instruments.

The package holds two programs:
 - torvane, a window in Simplified Chinese that takes the parameters, or
   derives them from two points known in both grids, and converts a point
   file (UTF-8 or GBK) into a result table beside it;
 - torvane-cli, the same for scripts, which also fits the parameters by
   least squares to many common points, reports every residual and
   distance, and prints the conversion as a PROJ pipeline.
Their manual pages are torvane(1) and torvane-cli(1).]=])
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A Chinese font for the window's texts and Qt's Chinese texts for the
# buttons of its dialogs. Qt's Wayland platform is only suggested: it brings
# Qt Quick and QML along, and without it a Wayland desktop runs the window
# through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS qt6-wayland)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
