# torvane_header_library(TARGET FOLDER HEADER PACKAGE IMPORTED): an
# INTERFACE target for a headers-only Debian package. Debian's package
# config adds /usr/include, which, cross-built, would put the build
# machine's C library before MinGW's: there the package's FOLDER (holding
# HEADER) is copied into the build on its own instead.
function(torvane_header_library target folder header package imported)
  add_library(${target} INTERFACE)
  if(CMAKE_CROSSCOMPILING)
    find_path(${target}_HEADERS ${folder}/${header} PATHS /usr/include NO_DEFAULT_PATH
      NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    file(COPY ${${target}_HEADERS}/${folder} DESTINATION ${CMAKE_BINARY_DIR}/${target})
    target_include_directories(${target} SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/${target})
  else()
    find_package(${package} CONFIG REQUIRED)
    target_link_libraries(${target} INTERFACE ${imported})
  endif()
endfunction()
