# Shared part of the MinGW-w64 cross toolchains; the including file sets
# CMAKE_SYSTEM_PROCESSOR and TOOLCHAIN_PREFIX first.
# The -posix thread model is required: GCC 12's -win32 variant has no
# std::thread / std::mutex, which GoogleTest and our own code use.
set(CMAKE_SYSTEM_NAME Windows)

# One line naming the package when the cross compiler is missing.
foreach(tool gcc-posix g++-posix windres)
  find_program(MIRABO_TOOL_${tool} ${TOOLCHAIN_PREFIX}-${tool})
  if(NOT MIRABO_TOOL_${tool})
    string(REPLACE "_" "-" package "${TOOLCHAIN_PREFIX}")
    string(REPLACE "-w64-mingw32" "" arch "${package}")
    string(REPLACE "x86_64" "x86-64" arch "${arch}")
    message(FATAL_ERROR "${TOOLCHAIN_PREFIX}-${tool} is missing: install the package g++-mingw-w64-${arch}-posix "
                        "(scripts/setup.sh does)")
  endif()
endforeach()
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_DLLTOOL      ${TOOLCHAIN_PREFIX}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in: the binaries import system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Debug information as line tables and function names: enough for Wine's
# backtraces, at a fraction of the compile and link time of full -g.
set(CMAKE_C_FLAGS_RELWITHDEBINFO   "-O2 -g1 -DNDEBUG" CACHE STRING "")
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2 -g1 -DNDEBUG" CACHE STRING "")
