# What the Windows release holds, laid out as `cmake --install` leaves it in
# build-windows/dist/, and the ZIP and NSIS packages CPack makes of it.
# TORVANE_QT_PREFIX is the cross-built Qt.
set(TORVANE_QT_PREFIX "" CACHE PATH "The Qt built for Windows")

install(TARGETS torvane torvane-cli RUNTIME DESTINATION .)

# Qt, shared so that a user may replace it (LGPL 3), with the platform and
# style plugins the window loads from beside the program.
install(FILES
  ${TORVANE_QT_PREFIX}/bin/Qt6Core.dll
  ${TORVANE_QT_PREFIX}/bin/Qt6Gui.dll
  ${TORVANE_QT_PREFIX}/bin/Qt6Widgets.dll
  DESTINATION .)
install(FILES ${TORVANE_QT_PREFIX}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${TORVANE_QT_PREFIX}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)

# The MinGW runtime that Qt's DLLs and the window load: one shared copy.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${dll_path}")
    message(FATAL_ERROR "MinGW runtime ${dll} not found")
  endif()
  install(FILES ${dll_path} DESTINATION .)
endforeach()

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
set(CPACK_NSIS_PACKAGE_NAME "Torvane ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "Torvane")
set(CPACK_NSIS_INSTALLED_ICON_NAME torvane.exe)
set(CPACK_NSIS_MUI_ICON ${TORVANE_WINDOWS_ICON})
set(CPACK_NSIS_MUI_UNIICON ${TORVANE_WINDOWS_ICON})
# A Unicode installer, so that the Start-menu entry keeps its Chinese name.
set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS "-XUnicode true")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/windows_package_names.cmake)
set(CPACK_GENERATOR ZIP NSIS)
include(CPack)
