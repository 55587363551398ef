# CLI11::CLI11, the command-line parser of dorvane-cli and dorvane-sim.
#
# CLI11 is header-only, so one copy serves every target; but Debian ships it for the build machine
# only, in /usr/include, which a cross compiler must never search (glibc's headers live there).
# A cross build gets a copy of just the CLI/ headers instead.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(CLI11 CONFIG REQUIRED)
  return()
endif()
if(TARGET CLI11::CLI11)
  return()
endif()
find_path(DORVANE_HOST_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)
file(COPY "${DORVANE_HOST_CLI11_INCLUDE}/CLI" DESTINATION "${CMAKE_BINARY_DIR}/host-headers")
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 INTERFACE "${CMAKE_BINARY_DIR}/host-headers")
