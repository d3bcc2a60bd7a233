# Shared part of the MinGW-w64 toolchain files; KESTRUM_TRIPLE is set by the file that includes it.
# The posix thread model is required: std::thread and std::mutex need winpthreads.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${KESTRUM_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRUM_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${KESTRUM_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KESTRUM_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run under Wine through the project's runner.
get_filename_component(_kestrum_top "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_kestrum_top}/scripts/wine-run")
