# What the Windows release holds, laid out as `cmake --install` leaves it in
# build-windows/dist/, and the ZIP and NSIS packages CPack makes of it.
# TORVANE_QT_PREFIX is the cross-built Qt.
set(TORVANE_QT_PREFIX "" CACHE PATH "The Qt built for Windows")

install(TARGETS torvane torvane-cli RUNTIME DESTINATION .)

# The users' guide in Chinese, with CR LF and a byte-order mark for Notepad.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/使用说明.txt
  ${CMAKE_BINARY_DIR}/使用说明.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/使用说明.txt DESTINATION .)

# Qt, shared so that a user may replace it (LGPL 3), with the platform and
# style plugins the window loads from beside the program.
install(FILES
  ${TORVANE_QT_PREFIX}/bin/Qt6Core.dll
  ${TORVANE_QT_PREFIX}/bin/Qt6Gui.dll
  ${TORVANE_QT_PREFIX}/bin/Qt6Widgets.dll
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

set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR "The Torvane authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "测图坐标系与施工坐标系的相互转换")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Torvane)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_EXECUTABLES torvane "测图坐标系与施工坐标系的相互转换")
set(CPACK_NSIS_PACKAGE_NAME "Torvane")  # also the Start-menu folder
set(CPACK_NSIS_DISPLAY_NAME "Torvane")
set(CPACK_NSIS_INSTALLED_ICON_NAME torvane.exe)
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
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in "${byte_order_mark}Target amd64-unicode\n${nsis_script}")
set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/windows_package_names.cmake)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR ZIP NSIS)
include(CPack)
