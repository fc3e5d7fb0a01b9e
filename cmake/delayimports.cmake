# Delay-loaded imports: a system DLL that a program needs for some of its work
# only is loaded at the first call into it, not at every start.
#
#   target_delay_imports(TARGET DLL Function@ArgumentBytes ...)
#
# dlltool makes the delay-load import library of the functions named. Each is
# written with its 32-bit decoration (the number after "@" is the size of its
# arguments); the 64-bit build drops it. Link the libraries that call these
# functions before calling this, so that the delay-load library comes after
# them and before the ordinary import library.
#
# Every function is also named to the linker as undefined. The system headers
# declare these functions as imports, so the program calls them through their
# import slot only. That slot starts out pointing at a stub that loads the DLL;
# with nothing else referring to the stub, --gc-sections would drop it and
# leave the slot empty (seen in the 32-bit build: a call through a null slot).
function(target_delay_imports target dll)
  string(MAKE_C_IDENTIFIER ${dll} id)
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}_${id}_delay.def)
  set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${target}_${id}_delay.a)
  set(exports ${ARGN})
  set(keep "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    list(TRANSFORM exports REPLACE "@[0-9]+$" "")
    set(flags "")
    foreach(fn ${exports})
      list(APPEND keep "LINKER:-u,${fn}")
    endforeach()
  else()
    # The stubs keep the decorated name; the DLL exports the plain one.
    set(flags --kill-at)
    foreach(fn ${exports})
      list(APPEND keep "LINKER:-u,_${fn}")
    endforeach()
  endif()
  list(JOIN exports "\n" lines)
  # Written through configure_file so that an unchanged list does not rebuild.
  file(WRITE ${def}.in "LIBRARY ${dll}\nEXPORTS\n${lines}\n")
  configure_file(${def}.in ${def} COPYONLY)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} ${flags} --input-def ${def} --dllname ${dll} --output-delaylib ${lib}
    DEPENDS ${def} VERBATIM)
  add_custom_target(${target}_${id}_delay DEPENDS ${lib})
  add_dependencies(${target} ${target}_${id}_delay)
  target_link_libraries(${target} PRIVATE ${lib})
  target_link_options(${target} PRIVATE ${keep})
endfunction()
