# Cross toolchain: 64-bit Windows with MinGW-w64, for the tests on machines that
# run no 32-bit code (the deliverables are the 32-bit build of mingw32.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
