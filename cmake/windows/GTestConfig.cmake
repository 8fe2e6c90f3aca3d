# GoogleTest for the Windows cross build, built from the sources Debian ships
# in /usr/src/googletest (libgtest-dev): its prebuilt libraries are Linux ones.
if(NOT TARGET GTest::gtest)
  set(FRAMETALLY_GTEST_SOURCE /usr/src/googletest/googletest)
  if(NOT EXISTS ${FRAMETALLY_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources missing: install libgtest-dev")
  endif()
  # GoogleTest's own code is not held to the project's warning flags.
  get_directory_property(frametally_saved_options COMPILE_OPTIONS)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${FRAMETALLY_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "${frametally_saved_options}")
  if(NOT TARGET GTest::gtest)  # older GoogleTest releases make no aliases
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endif()
set(GTest_FOUND TRUE)
