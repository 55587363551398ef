# nlohmann_json::nlohmann_json, JSON for the fleet's results and reports.
#
# Header-only like CLI11, and shipped by Debian like it for the build machine only, in
# /usr/include, which a cross compiler must never search (cli11.cmake): a cross build gets a copy
# of just the nlohmann/ headers instead.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(nlohmann_json 3 REQUIRED)
  return()
endif()
if(TARGET nlohmann_json::nlohmann_json)
  return()
endif()
find_path(DORVANE_HOST_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          NO_DEFAULT_PATH REQUIRED)
file(COPY "${DORVANE_HOST_NLOHMANN_JSON_INCLUDE}/nlohmann" DESTINATION "${CMAKE_BINARY_DIR}/host-headers/json")
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json INTERFACE "${CMAKE_BINARY_DIR}/host-headers/json")
