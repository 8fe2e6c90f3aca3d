# Cross-builds the Windows programs with Debian's MinGW-w64 (the POSIX thread
# model, for std::thread and std::jthread): cmake -DCMAKE_TOOLCHAIN_FILE=this.
# Tests run under Wine through CTest's cross-compiling emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FRAMETALLY_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${FRAMETALLY_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FRAMETALLY_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FRAMETALLY_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FRAMETALLY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ and C runtimes and winpthreads linked in: the programs, and the
# engine built as a DLL, need no MinGW DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# The header-only libraries (CLI11, nlohmann-json) and GoogleTest's sources
# come from the build machine's Debian packages, through the small package
# files in cmake/windows/ (GoogleTest is built from /usr/src/googletest).
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/windows CACHE PATH "nlohmann-json for the Windows build")
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/windows CACHE PATH "GoogleTest for the Windows build")
set(FRAMETALLY_HOST_HEADERS_DIR ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CLI11_INCLUDE_DIR "${CMAKE_BINARY_DIR}/host-headers" CACHE PATH "CLI11 for the Windows build")
if(NOT EXISTS "${CMAKE_BINARY_DIR}/host-headers/CLI" AND EXISTS /usr/include/CLI/CLI.hpp)
  # Only these folders of /usr/include: the rest is the build machine's C
  # library, which must not come before MinGW's.
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/host-headers")
  file(CREATE_LINK /usr/include/CLI "${CMAKE_BINARY_DIR}/host-headers/CLI" SYMBOLIC)
  file(CREATE_LINK /usr/include/nlohmann "${CMAKE_BINARY_DIR}/host-headers/nlohmann" SYMBOLIC)
endif()

find_program(FRAMETALLY_WINE NAMES wine wine64)
if(FRAMETALLY_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FRAMETALLY_WINE})
endif()
