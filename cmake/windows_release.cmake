# What the Windows release holds, laid out as `cmake --install` leaves it in
# build-windows/dist/, and the ZIP and NSIS packages CPack makes of it.
# TORVANE_QT_PREFIX is the cross-built Qt.
set(TORVANE_QT_PREFIX "" CACHE PATH "The Qt built for Windows")

install(TARGETS torvane torvane-cli RUNTIME DESTINATION .)

# The users' guide in Chinese, with CR LF and a byte-order mark for Notepad.
include(${PROJECT_SOURCE_DIR}/cmake/users_guide.cmake)
torvane_users_guide(${CMAKE_BINARY_DIR}/使用说明.txt)
install(FILES ${CMAKE_BINARY_DIR}/使用说明.txt DESTINATION .)

# Qt, shared so that a user may replace it (LGPL 3), with the platform and
# style plugins the window loads from beside the program. PrintSupport
# prints the calibration report; Windows printing needs no plugin.
install(FILES
  ${TORVANE_QT_PREFIX}/bin/Qt6Core.dll
  ${TORVANE_QT_PREFIX}/bin/Qt6Gui.dll
  ${TORVANE_QT_PREFIX}/bin/Qt6Widgets.dll
  ${TORVANE_QT_PREFIX}/bin/Qt6PrintSupport.dll
  DESTINATION .)
install(FILES ${TORVANE_QT_PREFIX}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${TORVANE_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)

# The MinGW runtime that Qt's DLLs and the window load: one shared copy,
# stripped of the symbols Debian ships it with.
set(runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${dll_path}")
    message(FATAL_ERROR "MinGW runtime ${dll} not found")
  endif()
  set(stripped ${CMAKE_BINARY_DIR}/runtime/${dll})
  add_custom_command(OUTPUT ${stripped} DEPENDS ${dll_path}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/runtime
    COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${stripped} ${dll_path})
  list(APPEND runtime_dlls ${stripped})
endforeach()
add_custom_target(torvane_runtime_dlls ALL DEPENDS ${runtime_dlls})
install(FILES ${runtime_dlls} DESTINATION .)

# Qt's own Simplified Chinese texts (buttons of message boxes and dialogs),
# from Debian's qt6-translations-l10n; qt.conf says where they are.
install(FILES
  /usr/share/qt6/translations/qt_zh_CN.qm
  /usr/share/qt6/translations/qtbase_zh_CN.qm
  DESTINATION translations)
file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nTranslations = translations\n")
install(FILES ${CMAKE_BINARY_DIR}/qt.conf DESTINATION .)

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples DESTINATION .)

# The licences and notices of what the release carries besides Torvane,
# gathered from Debian's own files of the very sources it was built from,
# in licenses/ (licenses/README.txt says which file is whose):
#   Qt 6 (LGPL 3, which is the GPL 3 with additional permissions, so both
#   texts), with the notices of the libraries inside Qt's DLLs (PCRE2,
#   libpng, zlib and others) in Debian's copyright file of qt6-base;
#   the MinGW-w64 runtime: libstdc++ and libgcc (GPL 3 with the GCC Runtime
#   Library Exception) and libwinpthread (MinGW-w64's licences);
#   CLI11 (BSD-3-Clause) and nlohmann's JSON (MIT), compiled into
#   torvane-cli, and Boost.Math (Boost Software License 1.0), headers
#   compiled into both programs.
set(licenses ${CMAKE_BINARY_DIR}/licenses)
file(MAKE_DIRECTORY ${licenses})
set(license_sources
  "/usr/share/common-licenses/LGPL-3:LGPL-3.txt"
  "/usr/share/common-licenses/GPL-3:GPL-3.txt"
  "/usr/share/doc/qt6-base-dev/copyright:Qt-notices.txt"
  "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright:MinGW-w64-GCC-runtime.txt"
  "/usr/share/doc/mingw-w64-x86-64-dev/copyright:MinGW-w64-winpthreads.txt"
  "/usr/share/doc/libcli11-dev/copyright:CLI11.txt"
  "/usr/share/doc/nlohmann-json3-dev/copyright:nlohmann-json.txt")
foreach(pair IN LISTS license_sources)
  string(REGEX MATCH "^([^:]+):(.+)$" pair "${pair}")
  if(NOT EXISTS "${CMAKE_MATCH_1}")
    message(FATAL_ERROR "${CMAKE_MATCH_1} is missing: the Windows release needs it in licenses/")
  endif()
  configure_file(${CMAKE_MATCH_1} ${licenses}/${CMAKE_MATCH_2} COPYONLY)
endforeach()
# Boost's licence, taken from Debian's copyright file of Boost: the
# paragraph that holds its text, without the file format's indent.
file(GLOB boost_copyright /usr/share/doc/libboost1.*-dev/copyright)
if(NOT boost_copyright)
  message(FATAL_ERROR "No /usr/share/doc/libboost1.*-dev/copyright: the Windows release needs it")
endif()
list(GET boost_copyright 0 boost_copyright)
file(READ ${boost_copyright} boost_text)
set(bsl_heading "License: BSL-1.0\n")
string(LENGTH "${bsl_heading}" bsl_heading_length)
string(FIND "${boost_text}" "${bsl_heading} Boost Software License - Version 1.0" bsl_start)
if(bsl_start LESS 0)
  message(FATAL_ERROR "${boost_copyright} holds no text of the Boost Software License")
endif()
string(SUBSTRING "${boost_text}" ${bsl_start} -1 boost_text)
string(FIND "${boost_text}" "\n\n" bsl_end)
math(EXPR bsl_length "${bsl_end} - ${bsl_heading_length}")
string(SUBSTRING "${boost_text}" ${bsl_heading_length} ${bsl_length} boost_text)
string(REGEX REPLACE "\n \\.\n" "\n\n" boost_text "${boost_text}")
string(REGEX REPLACE "(^|\n) " "\\1" boost_text "${boost_text}")
file(WRITE ${licenses}/Boost-BSL-1.0.txt "${boost_text}\n")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${boost_copyright})
file(WRITE ${licenses}/README.txt [=[
Licences and notices of what this release of Torvane carries besides
Torvane itself (whose MIT licence is LICENSE, beside the programs):

LGPL-3.txt, GPL-3.txt
    Qt 6 (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, Qt6PrintSupport.dll,
    platforms\qwindows.dll, styles\qwindowsvistastyle.dll, the texts in
    translations\), under the GNU Lesser General Public License version 3,
    which is the GNU General Public License version 3 with additional
    permissions. The DLLs may be replaced by a Qt 6.4 of your own built for
    64-bit MinGW-w64.
Qt-notices.txt
    The copyright notices of Qt's source, among them those of the libraries
    built into Qt's DLLs: PCRE2 (BSD-3-Clause), libpng (libpng licence),
    zlib (zlib licence) and others (Debian's copyright file of the
    qt6-base source that these DLLs were built from).
MinGW-w64-GCC-runtime.txt
    libstdc++-6.dll and libgcc_s_seh-1.dll (and the same runtime built into
    torvane-cli.exe): GPL 3 with the GCC Runtime Library Exception, whose
    text is in this file.
MinGW-w64-winpthreads.txt
    libwinpthread-1.dll (and the same built into torvane-cli.exe): the
    licences of MinGW-w64.
CLI11.txt
    CLI11, compiled into torvane-cli.exe: BSD-3-Clause.
nlohmann-json.txt
    nlohmann's JSON, compiled into torvane-cli.exe, where it reads and
    writes project files: the MIT licence.
Boost-BSL-1.0.txt
    Boost.Math, compiled into both programs: the Boost Software License 1.0.
]=])
install(DIRECTORY ${licenses}/ DESTINATION licenses)

set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR "The Torvane authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "测图坐标系与施工坐标系的相互转换")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Torvane)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_PACKAGE_NAME "Torvane")  # also the Start-menu folder
set(CPACK_NSIS_DISPLAY_NAME "Torvane")
set(CPACK_NSIS_INSTALLED_ICON_NAME torvane.exe)
# The programs are in the installation folder itself, not in bin\ (CPack's
# default): the Start-menu entry, the desktop shortcut the finish page
# offers, and the finish page's option to start the window all name
# $INSTDIR\torvane.exe. The values are written to CPack's configuration as
# they are here (backslashes and all).
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(torvane_link "测图坐标系与施工坐标系的相互转换.lnk")
# The workbench's own entry: the same program with --workbench.
set(workbench_link "坐标转换工作台.lnk")
set(CPACK_NSIS_CREATE_ICONS_EXTRA
  "  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\${torvane_link}\" \"$INSTDIR\\torvane.exe\"
  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\${workbench_link}\" \"$INSTDIR\\torvane.exe\" \"--workbench\"")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "  Delete \"$SMPROGRAMS\\$MUI_TEMP\\${torvane_link}\"
  Delete \"$SMPROGRAMS\\$MUI_TEMP\\${workbench_link}\"
  Delete \"$DESKTOP\\${torvane_link}\"")
set(CPACK_NSIS_MUI_FINISHPAGE_RUN torvane.exe)
set(CPACK_NSIS_MUI_ICON ${TORVANE_WINDOWS_ICON})
set(CPACK_NSIS_MUI_UNIICON ${TORVANE_WINDOWS_ICON})
# A 64-bit Unicode installer (Unicode keeps the Start-menu entry's Chinese
# name; 64-bit runs where the programs run): CMake's own NSIS script with
# "Target amd64-unicode" as its first statement, after the byte-order mark
# that tells NSIS the script is UTF-8.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in nsis_template)
string(FIND "${nsis_template}" ";" first_statement)
if(first_statement LESS 0 OR first_statement GREATER 3)
  message(FATAL_ERROR "CMake's NSIS template does not begin as expected")
endif()
string(SUBSTRING "${nsis_template}" 0 ${first_statement} byte_order_mark)
string(SUBSTRING "${nsis_template}" ${first_statement} -1 nsis_script)
# Two more changes to that script, each where CMake's has the statement it
# follows (or the build stops): the finish page's second option creates the
# desktop shortcut (its text in English and Simplified Chinese, the other
# languages taking the English); and the uninstaller also removes the
# vendor's registry key "Software\The Torvane authors", which CMake's
# script leaves behind empty.
function(torvane_nsis_after anchor addition)
  string(FIND "${nsis_script}" "${anchor}" anchor_at)
  if(anchor_at LESS 0)
    message(FATAL_ERROR "CMake's NSIS template has no \"${anchor}\"")
  endif()
  string(REPLACE "${anchor}" "${anchor}${addition}" nsis_script "${nsis_script}")
  set(nsis_script "${nsis_script}" PARENT_SCOPE)
endfunction()
torvane_nsis_after("@CPACK_NSIS_INSTALLER_MUI_FINISHPAGE_RUN_CODE@\n" [=[
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(TorvaneDesktopShortcut)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION TorvaneCreateDesktopShortcut
]=])
torvane_nsis_after("  DeleteRegKey /ifempty SHCTX \"Software\\@CPACK_PACKAGE_VENDOR@\\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@\"\n" [=[
  DeleteRegKey /ifempty SHCTX "Software\@CPACK_PACKAGE_VENDOR@"
]=])
string(APPEND nsis_script "
LangString TorvaneDesktopShortcut \${LANG_ENGLISH} \"Create a shortcut on the desktop\"
LangString TorvaneDesktopShortcut \${LANG_SIMPCHINESE} \"创建桌面快捷方式\"
Function TorvaneCreateDesktopShortcut
  CreateShortCut \"$DESKTOP\\${torvane_link}\" \"$INSTDIR\\torvane.exe\"
FunctionEnd
")
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${byte_order_mark}Target amd64-unicode\n${nsis_script}")
set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/windows_package_names.cmake)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR ZIP NSIS)
include(CPack)
