# The Linux installation under a prefix (/usr in the package) and the two
# Debian packages CPack makes of it: torvane-cli (the command line, the
# examples and the README; no Qt) and torvane (the window, which depends on
# torvane-cli of the same version); `bash scripts/package.sh` builds them
# with Debian's hardening flags. The packaging sources are in packaging/linux/.
# Included for every build that is not for Windows: the icon images and the
# gzipped manual pages are made with the programs.
if(NOT TARGET torvane OR NOT TARGET torvane-icon)
  message(STATUS "No Debian package rules: the window is not built")
  return()
endif()

include(GNUInstallDirs)

# The reverse-DNS id: the names of the desktop entry, the metainfo, the
# icon and the MIME type file; the workbench's entry adds ".Workbench". The
# windows name their desktop entries the same (desktop/chinese_ui.h).
set(TORVANE_APP_ID io.github.torvane.Torvane)
set(packaging ${PROJECT_SOURCE_DIR}/packaging/linux)
set(generated ${CMAKE_BINARY_DIR}/packaging)
# Each package's documentation folder, as Debian wants one per package.
set(app_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/torvane)
set(cli_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/torvane-cli)
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
foreach(component_program app:torvane cli:torvane-cli)
  string(REPLACE ":" ";" component_program ${component_program})
  list(GET component_program 0 component)
  list(GET component_program 1 program)
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()" COMPONENT ${component})
endforeach()

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
    RENAME ${TORVANE_APP_ID}.png COMPONENT app)
endforeach()

# The manual pages, with the version filled in, and the Debian changelog,
# compressed as Debian wants them: gzip -9, without name or time stamp. The
# pages' sources are written in UTF-8; the installed pages spell every other
# character as a troff escape (\[u6D4B]), so that they read the same whatever
# encoding man guesses for a page (Latin-1 under a POSIX locale).
find_program(TORVANE_PERL perl REQUIRED)
set(gzipped)
foreach(page torvane.1 torvane-cli.1)
  # Filled in beside, not where gzip replaces the copy by its .gz.
  configure_file(${packaging}/${page}.in ${generated}/source/${page} @ONLY)
endforeach()
foreach(file man/torvane.1 man/torvane-cli.1 changelog.Debian README.md)
  if(file STREQUAL "changelog.Debian")
    set(make ${CMAKE_COMMAND} -E copy ${packaging}/changelog ${generated}/${file})
    set(source ${packaging}/changelog)
  elseif(file STREQUAL "README.md")
    set(source ${PROJECT_SOURCE_DIR}/README.md)
    set(make ${CMAKE_COMMAND} -E copy ${source} ${generated}/${file})
  else()
    get_filename_component(page ${file} NAME)
    set(source ${generated}/source/${page})
    set(make ${CMAKE_COMMAND} -E make_directory ${generated}/man
      COMMAND ${TORVANE_PERL} ${packaging}/troff-escape.pl ${source} ${generated}/${file})
  endif()
  add_custom_command(OUTPUT ${generated}/${file}.gz
    COMMAND ${make}
    COMMAND ${TORVANE_GZIP} -9nf ${generated}/${file}
    DEPENDS ${source} ${packaging}/troff-escape.pl
    VERBATIM)
  list(APPEND gzipped ${generated}/${file}.gz)
endforeach()
add_custom_target(torvane_package_files ALL DEPENDS ${icon_images} ${gzipped})
install(FILES ${generated}/man/torvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT app)
install(FILES ${generated}/man/torvane-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
  COMPONENT cli)

# The menu entries, the classic window's and the workbench's (which opens
# project files), the project files' MIME type for shared-mime-info, and
# the software centres' description.
install(FILES ${packaging}/${TORVANE_APP_ID}.desktop ${packaging}/${TORVANE_APP_ID}.Workbench.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT app)
install(FILES ${packaging}/${TORVANE_APP_ID}.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages COMPONENT app)
install(FILES ${packaging}/${TORVANE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT app)

# The documentation Debian asks for in each package; the README and every
# example it and the manual pages use go with the command line, which the
# window's package depends on.
install(FILES ${packaging}/copyright ${generated}/changelog.Debian.gz DESTINATION ${app_doc_dir}
  COMPONENT app)
install(FILES ${packaging}/copyright ${generated}/changelog.Debian.gz ${generated}/README.md.gz
  DESTINATION ${cli_doc_dir} COMPONENT cli)
install(FILES ${PROJECT_SOURCE_DIR}/examples/points.csv
  ${PROJECT_SOURCE_DIR}/examples/points-construction.txt
  ${PROJECT_SOURCE_DIR}/examples/control-points.csv
  ${PROJECT_SOURCE_DIR}/examples/control-heights.csv
  ${PROJECT_SOURCE_DIR}/examples/scaled-points.csv
  ${PROJECT_SOURCE_DIR}/examples/unscaled-points.csv
  DESTINATION ${cli_doc_dir}/examples COMPONENT cli)
# The overrides are written for the torvane package; torvane-cli's are the
# same with its name.
file(READ ${packaging}/lintian-overrides overrides)
file(WRITE ${generated}/lintian/torvane "${overrides}")
string(REPLACE "torvane: " "torvane-cli: " overrides "${overrides}")
string(REPLACE "doc/torvane/" "doc/torvane-cli/" overrides "${overrides}")
file(WRITE ${generated}/lintian/torvane-cli "${overrides}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging}/lintian-overrides)
install(FILES ${generated}/lintian/torvane DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
  COMPONENT app)
install(FILES ${generated}/lintian/torvane-cli
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT cli)

# The packages: torvane-cli_VERSION-REVISION_ARCH.deb and
# torvane_VERSION-REVISION_ARCH.deb, one for each install component, each
# depending on what dpkg-shlibdeps finds its own programs need.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli app)
set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR "The Torvane authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TORVANE_DEBIAN_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TORVANE_DEBIAN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_CLI_PACKAGE_NAME torvane-cli)
set(CPACK_DEBIAN_APP_PACKAGE_NAME torvane)
# The first line is the summary. Lines of at most 80 characters; CPack puts
# the leading space on each and a "." on the empty ones, and strips the last
# line.
set(about [=[
Torvane converts point coordinates between the survey (mapping) grid,
测图坐标, and a construction (site) grid, 施工坐标, which differ by a
translation and a rotation; heights pass through unchanged. The rotation
is given in ddd.mmss, as on survey instruments.
]=])
set(CPACK_DEBIAN_CLI_DESCRIPTION
  "convert coordinates between survey and construction grids, command line
${about}
This package holds torvane-cli, for scripts: it converts point files (UTF-8
or GBK) into result tables, CSV or JSON, derives the parameters from two
points known in both grids or fits them by least squares to many common
points, reports every residual and distance, and prints the conversion as
a PROJ pipeline. It needs no graphical libraries. Its manual page is
torvane-cli(1); the README and the examples are in
/usr/share/doc/torvane-cli/.")
set(CPACK_DEBIAN_APP_DESCRIPTION
  "convert coordinates between survey and construction grids, window
${about}
This package holds torvane, a window in Simplified Chinese that takes the
parameters, or derives them from two points known in both grids, and
converts a point file into a result table beside it; and its workbench,
坐标转换工作台, for a site of many common points, which keeps the site as a
project file (NAME.torvane). Its manual page is torvane(1).")
# The window's package needs the command line's of the very same version,
# and a Simplified Chinese font, without which its texts and its reports
# are boxes. WenQuanYi first: a PDF's text reads back from it as drawn,
# where Noto Sans CJK gives ideographs the glyphs of radicals
# (desktop/report_font.h).
set(CPACK_DEBIAN_APP_PACKAGE_DEPENDS
  "torvane-cli (= ${PROJECT_VERSION}-${TORVANE_DEBIAN_REVISION}), fonts-wqy-microhei | fonts-wqy-zenhei | fonts-noto-cjk | fonts-arphic-ukai")
# For the window: Qt's Chinese texts for the
# buttons of its dialogs, and xdg-open (xdg-utils), through which 成果浏览
# opens the table in the desktop's text editor. Qt's Wayland platform is
# only suggested: it brings Qt Quick and QML along, and without it a Wayland
# desktop runs the window through XWayland.
set(CPACK_DEBIAN_APP_PACKAGE_RECOMMENDS
  "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_APP_PACKAGE_SUGGESTS qt6-wayland)
# The command line's pipeline (solve --format=proj) runs in PROJ's cct and
# GDAL's ogr2ogr, which the README's examples use; torvane-cli needs neither.
set(CPACK_DEBIAN_CLI_PACKAGE_SUGGESTS "proj-bin, gdal-bin")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
