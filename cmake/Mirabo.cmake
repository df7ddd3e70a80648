# Project-wide settings and the helpers every folder uses:
#   mirabo_test(NAME n SOURCES ... [LIBS ...] [TIMEOUT s] [LABELS ...] [ALONE] [COST c] [PARTS ...])
#   mirabo_fuzzer(NAME n SOURCES ... [LIBS ...] [CORPUS dir])
#   mirabo_benchmark(NAME n SOURCES ... [LIBS ...])
include_guard(GLOBAL)

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "" FORCE)
endif()

if(WIN32)
  set(MIRABO_WINDOWS ON)
  enable_language(RC)
  # Resource scripts are UTF-8 and say so with #pragma code_page(65001).
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 936")
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)
else()
  set(MIRABO_WINDOWS OFF)
endif()

# Sources are UTF-8; narrow literals are the programs' 8-bit GBK text. Clang (the
# fuzz build) has no GBK execution character set: there literals stay UTF-8.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-fexec-charset=GBK>)
endif()
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-Wall>
                    $<$<COMPILE_LANGUAGE:C,CXX>:-Wextra>)

option(MIRABO_SANITIZE "Build native code with AddressSanitizer and UBSan" OFF)
option(MIRABO_FUZZ "Build libFuzzer targets (clang, native)" OFF)
if(MIRABO_SANITIZE AND NOT MIRABO_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(MIRABO_FUZZ)
  if(MIRABO_WINDOWS OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "MIRABO_FUZZ needs a native clang build (preset 'fuzz')")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Every program, DLL and test lands in one folder so the DLLs are found beside the exes.
set(MIRABO_BIN ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${MIRABO_BIN})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${MIRABO_BIN})
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)

enable_testing()
include(GoogleTest)
include(${CMAKE_CURRENT_LIST_DIR}/TypeLib.cmake)

# Test code (the test programs and their helpers, our servers, GoogleTest) is
# compiled at -O1 in the optimised Windows builds: the product keeps its -O2,
# and the tests' long bodies compile in about two thirds of the time.
set(MIRABO_TEST_OPT "")
if(MIRABO_WINDOWS AND CMAKE_BUILD_TYPE MATCHES "^(RelWithDebInfo|Release)$")
  set(MIRABO_TEST_OPT -O1)
endif()

# ---- GoogleTest -------------------------------------------------------------
if(MIRABO_WINDOWS)
  if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
    message(FATAL_ERROR "/usr/src/googletest is missing: install the package googletest (scripts/setup.sh does)")
  endif()
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # gtest's own sources trip our warning flags; they are not ours to fix.
  foreach(t gtest gtest_main gmock gmock_main)
    if(TARGET ${t})
      target_compile_options(${t} PRIVATE -w ${MIRABO_TEST_OPT})
    endif()
  endforeach()
elseif(NOT MIRABO_FUZZ)
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    message(FATAL_ERROR "GoogleTest is missing: install the packages libgtest-dev and libgmock-dev (scripts/setup.sh does)")
  endif()
endif()

# ---- Wine test environment --------------------------------------------------
# Tests of the windows build run under Wine through ${MIRABO_BIN}/../wine/wine-run:
# a private prefix under the build folder, code page 936, a persistent
# wineserver and an Xvfb display, brought up by the fixture test "wine.up" and
# torn down by "wine.down". Besides it, MIRABO_WINE_SLOTS worlds of their own
# (tools/winenv.sh) for the tests marked ALONE: ctest hands each such test one
# free slot, so they run beside each other and beside the others.
set(MIRABO_TIMEOUT_FACTOR 2 CACHE STRING "Each test's time-out, as a multiple of an idle machine's")
set(MIRABO_WINE_SLOTS 6 CACHE STRING "Wine worlds for the tests that must run alone")
if(MIRABO_WINDOWS)
  set(MIRABO_WINE_ROOT ${CMAKE_BINARY_DIR}/wine)
  file(MAKE_DIRECTORY ${MIRABO_WINE_ROOT})
  set(MIRABO_WINENV ${CMAKE_SOURCE_DIR}/tools/winenv.sh)
  # The 64-bit build (preset win64) runs its tests in a 64-bit prefix.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    file(WRITE ${MIRABO_WINE_ROOT}/arch win64)
    set(MIRABO_WINMAIN_LINK -Wl,-u,WinMain)
  else()
    file(WRITE ${MIRABO_WINE_ROOT}/arch win32)
    set(MIRABO_WINMAIN_LINK -Wl,-u,_WinMain@16)
  endif()
  file(WRITE ${MIRABO_WINE_ROOT}/nslots ${MIRABO_WINE_SLOTS})
  set(slots "")
  foreach(k RANGE 1 ${MIRABO_WINE_SLOTS})
    list(APPEND slots "{\"id\": \"${k}\", \"slots\": 1}")
  endforeach()
  list(JOIN slots ", " slots)
  file(WRITE ${MIRABO_WINE_ROOT}/resources.json
       "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"wine\": [${slots}]}]}\n")
  set(CTEST_RESOURCE_SPEC_FILE ${MIRABO_WINE_ROOT}/resources.json)
  configure_file(${CMAKE_SOURCE_DIR}/tools/wine-run.in ${MIRABO_WINE_ROOT}/wine-run
                 @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MIRABO_WINE_ROOT}/wine-run)
  add_test(NAME wine.up COMMAND ${MIRABO_WINENV} up ${MIRABO_WINE_ROOT})
  add_test(NAME wine.down COMMAND ${MIRABO_WINENV} down ${MIRABO_WINE_ROOT})
  set_tests_properties(wine.up PROPERTIES FIXTURES_SETUP wine TIMEOUT 300 LABELS wine)
  set_tests_properties(wine.down PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS wine)
endif()

# Tests that take the focus, open boxes or own a single-instance name run in a
# Wine slot of their own; a higher COST starts a test earlier.
function(mirabo_test_alone)
  if(MIRABO_WINDOWS)
    set_tests_properties(${ARGN} PROPERTIES RESOURCE_GROUPS "wine:1")
  endif()
endfunction()

# Every test program reuses one precompiled header (tests/support/TestPch.h):
# GoogleTest and the Windows headers are parsed once, not per file.
function(mirabo_test_pch exe)
  if(NOT TARGET mirabo_test_pch)
    file(WRITE ${CMAKE_BINARY_DIR}/test_pch.cpp "")
    add_library(mirabo_test_pch STATIC ${CMAKE_BINARY_DIR}/test_pch.cpp)
    target_link_libraries(mirabo_test_pch PRIVATE GTest::gtest)
    target_precompile_headers(mirabo_test_pch PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/TestPch.h)
  endif()
  target_precompile_headers(${exe} REUSE_FROM mirabo_test_pch)
endfunction()

# mirabo_test(NAME n SOURCES ... [LIBS ...] [TIMEOUT s] [LABELS ...] [ALONE] [COST c]
#             [PARTS part=GtestFilter ...])
# One ctest entry per test program (each Wine process costs a fraction of a
# second), or with PARTS one entry n.part per named filter and n.rest for the
# tests no part names, so that a long program keeps several jobs busy.
function(mirabo_test)
  cmake_parse_arguments(T "ALONE" "NAME;TIMEOUT;COST" "SOURCES;LIBS;LABELS;PARTS" ${ARGN})
  if(MIRABO_FUZZ)
    return()
  endif()
  set(exe t_${T_NAME})
  add_executable(${exe} ${T_SOURCES})
  target_link_libraries(${exe} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  mirabo_test_pch(${exe})
  if(MIRABO_WINDOWS)
    # A test in a slot of its own starts and ends with no program of ours running there.
    if(NOT TARGET mirabo_slot_check)
      add_library(mirabo_slot_check OBJECT ${CMAKE_SOURCE_DIR}/tests/support/SlotCheck.cpp)
      target_include_directories(mirabo_slot_check PRIVATE ${CMAKE_SOURCE_DIR})
      target_link_libraries(mirabo_slot_check PRIVATE GTest::gtest)
    endif()
    target_link_libraries(${exe} PRIVATE mirabo_slot_check)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  # A loaded machine stretches every wait of a test (tests/support/Patience.h): the
  # time-out, which only ends a hung program, leaves room for that.
  math(EXPR T_TIMEOUT "${T_TIMEOUT} * ${MIRABO_TIMEOUT_FACTOR}")
  set(names "")
  if(T_PARTS)
    set(all "")
    foreach(part ${T_PARTS})
      string(REGEX MATCH "^([^=]+)=(.+)$" ok "${part}")
      if(NOT ok)
        message(FATAL_ERROR "mirabo_test(${T_NAME}): a part is name=filter, not '${part}'")
      endif()
      add_test(NAME ${T_NAME}.${CMAKE_MATCH_1} COMMAND ${exe} --gtest_color=no --gtest_filter=${CMAKE_MATCH_2})
      list(APPEND names ${T_NAME}.${CMAKE_MATCH_1})
      string(APPEND all ":${CMAKE_MATCH_2}")
    endforeach()
    string(SUBSTRING "${all}" 1 -1 all)
    add_test(NAME ${T_NAME}.rest COMMAND ${exe} --gtest_color=no --gtest_filter=-${all})
    list(APPEND names ${T_NAME}.rest)
  else()
    add_test(NAME ${T_NAME} COMMAND ${exe} --gtest_color=no)
    set(names ${T_NAME})
  endif()
  if(MIRABO_WINDOWS)
    set_tests_properties(${names} PROPERTIES FIXTURES_REQUIRED wine LABELS "wine;${T_LABELS}")
    set_property(TEST ${names} APPEND PROPERTY ENVIRONMENT "MIRABO_WINEDEBUG=-all,err+module,err+process")
  else()
    set_tests_properties(${names} PROPERTIES LABELS "native;${T_LABELS}")
  endif()
  set_tests_properties(${names} PROPERTIES TIMEOUT ${T_TIMEOUT} WORKING_DIRECTORY ${MIRABO_BIN})
  if(T_ALONE)
    mirabo_test_alone(${names})
  endif()
  if(T_COST)
    set_tests_properties(${names} PROPERTIES COST ${T_COST})
  endif()
endfunction()

# A fuzz target defines LLVMFuzzerTestOneInput. With MIRABO_FUZZ it becomes a
# libFuzzer program fuzz_<name>; in the ordinary native build it is linked with
# a replay driver and run by ctest over its corpus plus a bounded number of
# mutated inputs.
function(mirabo_fuzzer)
  cmake_parse_arguments(F "" "NAME;CORPUS" "SOURCES;LIBS" ${ARGN})
  if(MIRABO_WINDOWS)
    return()
  endif()
  if(NOT F_CORPUS)
    set(F_CORPUS ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${F_NAME})
  endif()
  if(MIRABO_FUZZ)
    add_executable(fuzz_${F_NAME} ${F_SOURCES})
    target_link_libraries(fuzz_${F_NAME} PRIVATE ${F_LIBS})
    target_link_options(fuzz_${F_NAME} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(replay_${F_NAME} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fuzz/replay_main.cpp)
    target_link_libraries(replay_${F_NAME} PRIVATE ${F_LIBS})
    target_include_directories(replay_${F_NAME} PRIVATE ${CMAKE_SOURCE_DIR})
    add_test(NAME fuzz.${F_NAME} COMMAND replay_${F_NAME} ${F_CORPUS} --mutations=20000)
    set_tests_properties(fuzz.${F_NAME} PROPERTIES LABELS "native;fuzz" TIMEOUT 120)
  endif()
endfunction()

# Benchmarks are built, never run by ctest. Native ones use Google Benchmark
# when it is installed; Windows ones are plain programs run under Wine by hand.
function(mirabo_benchmark)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(MIRABO_FUZZ)
    return()
  endif()
  if(MIRABO_WINDOWS)
    add_executable(bench_${B_NAME} ${B_SOURCES})
    target_link_libraries(bench_${B_NAME} PRIVATE ${B_LIBS})
  else()
    find_package(benchmark QUIET)
    if(benchmark_FOUND)
      add_executable(bench_${B_NAME} ${B_SOURCES})
      target_link_libraries(bench_${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
    endif()
  endif()
  if(TARGET bench_${B_NAME})
    set_property(GLOBAL APPEND PROPERTY MIRABO_BENCHMARKS ${B_NAME})
  endif()
endfunction()
