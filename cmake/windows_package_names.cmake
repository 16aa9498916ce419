# Read by CPack for each generator: the names of the two Windows packages.
if(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "torvane-${CPACK_PACKAGE_VERSION}-windows-x64")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "torvane-${CPACK_PACKAGE_VERSION}-setup")
endif()
