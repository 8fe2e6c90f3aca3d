# nlohmann-json (header only) for the Windows cross build: the build machine's
# headers through a folder that holds nothing else of /usr/include.
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${CMAKE_BINARY_DIR}/host-headers")
endif()
set(nlohmann_json_FOUND TRUE)
