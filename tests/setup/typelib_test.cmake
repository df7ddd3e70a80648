# cmake -P typelib_test.cmake: stdole2.tlb is found in whichever Wine folder
# holds it, and a machine with none gets one line naming the packages.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/TypeLib.cmake)
set(root ${CMAKE_CURRENT_BINARY_DIR}/typelib_layouts)
file(REMOVE_RECURSE ${root})

function(expect_found layout)
  set(dir ${root}/${layout})
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${dir}/stdole2.tlb "")
  mirabo_find_stdole2(found ${root}/i386-windows ${root}/x86_64-windows)
  if(NOT found STREQUAL dir)
    message(FATAL_ERROR "with only ${layout}: found '${found}'")
  endif()
  file(REMOVE_RECURSE ${dir})
endfunction()

expect_found(i386-windows)    # wine32 only
expect_found(x86_64-windows)  # wine64 only: the 32-bit build uses this copy

# Both: the first folder named (the build's own word size) wins.
file(WRITE ${root}/i386-windows/stdole2.tlb "")
file(WRITE ${root}/x86_64-windows/stdole2.tlb "")
mirabo_find_stdole2(found ${root}/x86_64-windows ${root}/i386-windows)
if(NOT found STREQUAL "${root}/x86_64-windows")
  message(FATAL_ERROR "with both: found '${found}'")
endif()

# Neither: the configure stops with a line that names what to install.
file(WRITE ${root}/none.cmake
  "include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/TypeLib.cmake)\nmirabo_find_stdole2(x ${root}/empty)\n")
execute_process(COMMAND ${CMAKE_COMMAND} -P ${root}/none.cmake RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "stdole2.tlb is missing: install the package wine64 or wine32")
  message(FATAL_ERROR "with none: rc=${rc} ${err}")
endif()
file(REMOVE_RECURSE ${root})
message(STATUS "typelib layouts: ok")
