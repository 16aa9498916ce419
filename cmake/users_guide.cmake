# The users' guide for Windows, 使用说明.txt: the template in
# packaging/windows with the workbench's guide (workbench/guide.txt, the
# one 帮助 > 使用说明 shows) as its part on the workbench, indented as the
# rest; with CR LF, and the template's byte-order mark, for Notepad.
function(torvane_users_guide output)
  set(guide_file ${PROJECT_SOURCE_DIR}/workbench/guide.txt)
  file(READ ${guide_file} guide)
  string(REGEX REPLACE "\n$" "" guide "${guide}")
  # configure_file ends the template's lines with CR LF, not those of a value.
  string(REPLACE "\n" "\r\n  " WORKBENCH_GUIDE "  ${guide}")
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/使用说明.txt ${output}
    @ONLY NEWLINE_STYLE CRLF)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${guide_file})
endfunction()
