# Type libraries made with widl from an IDL file:
#   mirabo_typelib(OUTPUT <tlb> IDL <idl>)
# The IDL files import stdole2.tlb. Wine ships it in its i386 and its x86_64
# folders, and either copy serves widl for both word sizes, so a machine with
# only the 64-bit Wine package still builds the 32-bit deliverables.
include_guard(GLOBAL)

# Where Wine's Windows-side files may lie, this build's word size first.
set(MIRABO_WINE_LIBDIRS_32 /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows
                           /usr/lib/x86_64-linux-gnu/wine/i386-windows)
set(MIRABO_WINE_LIBDIRS_64 /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/wine/x86_64-windows)

# Sets <var> to the first folder of the list that holds stdole2.tlb; stops the
# configure with one line naming the file and the packages that bring it.
function(mirabo_find_stdole2 var)
  foreach(dir IN LISTS ARGN)
    if(EXISTS "${dir}/stdole2.tlb")
      set(${var} "${dir}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "stdole2.tlb is missing: install the package wine64 or wine32 "
                      "(looked in: ${ARGN})")
endfunction()

function(mirabo_typelib)
  cmake_parse_arguments(T "" "OUTPUT;IDL" "" ${ARGN})
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(widl x86_64-w64-mingw32-widl)
    set(word --win64)
    set(dirs ${MIRABO_WINE_LIBDIRS_64} ${MIRABO_WINE_LIBDIRS_32})
  else()
    set(widl i686-w64-mingw32-widl)
    set(word --win32)
    set(dirs ${MIRABO_WINE_LIBDIRS_32} ${MIRABO_WINE_LIBDIRS_64})
  endif()
  find_program(MIRABO_WIDL ${widl})
  if(NOT MIRABO_WIDL)
    message(FATAL_ERROR "${widl} is missing: install the package mingw-w64-tools")
  endif()
  mirabo_find_stdole2(stdole_dir ${dirs})
  get_filename_component(idl "${T_IDL}" ABSOLUTE)
  get_filename_component(name "${T_OUTPUT}" NAME_WE)
  add_custom_command(OUTPUT ${T_OUTPUT}
    COMMAND ${MIRABO_WIDL} ${word} -t -L ${stdole_dir} -o ${T_OUTPUT} ${idl}
    DEPENDS ${idl}
    COMMENT "Making the ${name} type library")
endfunction()
