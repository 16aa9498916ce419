# The resources windres compiles into each Windows program from
# program/torvane.rc.in: the icon (when TORVANE_WINDOWS_ICON names one), the
# application manifest program/torvane.manifest and the version information
# Explorer shows. windres reads the script as UTF-8.
set(TORVANE_WINDOWS_ICON "" CACHE FILEPATH "The programs' .ico file")

# torvane_windows_resources(TARGET DESCRIPTION): TARGET.exe described as
# DESCRIPTION in its version information.
function(torvane_windows_resources target description)
  set(TORVANE_RC_NAME ${target})
  set(TORVANE_RC_DESCRIPTION "${description}")
  set(TORVANE_RC_MANIFEST ${PROJECT_SOURCE_DIR}/program/torvane.manifest)
  set(TORVANE_RC_ICON "")
  if(TORVANE_WINDOWS_ICON)
    set(TORVANE_RC_ICON "IDI_ICON1 ICON \"${TORVANE_WINDOWS_ICON}\"")
  endif()
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/program/torvane.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES COMPILE_OPTIONS "-c65001"
    OBJECT_DEPENDS ${TORVANE_RC_MANIFEST})
endfunction()
