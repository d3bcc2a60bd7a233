# The same sources for 64-bit Windows: the build the test suite runs under Wine on hosts that
# cannot execute 32-bit code (see README).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KESTRUM_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
