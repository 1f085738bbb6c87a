# Each area of the source declares its libraries through these two functions,
# so the test executables can link every area without listing them by hand.
#   somv_core(name sources...)  portable logic, built in every configuration
#   somv_win(name sources...)   Win32 layer, built only for the Windows programs
function(somv_core name)
  add_library(${name} STATIC ${ARGN})
  set_property(GLOBAL APPEND PROPERTY SOMV_CORE_LIBS ${name})
endfunction()

function(somv_win name)
  if(WIN32)
    add_library(${name} STATIC ${ARGN})
    set_property(GLOBAL APPEND PROPERTY SOMV_WIN_LIBS ${name})
  endif()
endfunction()

# All Win32 layers and the portable logic under them, in an order the static
# linker accepts whatever depends on what.
function(somv_link_everything target)
  get_property(core GLOBAL PROPERTY SOMV_CORE_LIBS)
  get_property(win GLOBAL PROPERTY SOMV_WIN_LIBS)
  target_link_libraries(${target} PRIVATE -Wl,--start-group ${win} ${core} -Wl,--end-group)
  if(WIN32)
    target_link_libraries(${target} PRIVATE comctl32 user32 gdi32 kernel32)
  endif()
endfunction()

# somv_delay_load(target defs...): the libraries that the .def files name are
# loaded on the first call into them instead of when the program starts. Each
# .def lists every function the program calls in its library (undecorated;
# the 32-bit build decorates them); one missing there is imported at load
# time as usual, which scripts/check-binaries reports.
function(somv_delay_load target)
  set(prefix ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-)
  foreach(def ${ARGN})
    get_filename_component(name ${def} NAME_WE)
    get_filename_component(def_path ${def} ABSOLUTE)
    set(object ${CMAKE_CURRENT_BINARY_DIR}/delay_imports/${name}_delay.o)
    set(system_lib "")
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(system_lib -DSYSTEM_LIB=${CMAKE_FIND_ROOT_PATH}/lib/lib${name}.a)
    endif()
    add_custom_command(OUTPUT ${object}
      COMMAND ${CMAKE_COMMAND} -DTOOL_PREFIX=${prefix} -DDEF=${def_path} ${system_lib}
              -DWORK=${CMAKE_CURRENT_BINARY_DIR}/delay_imports/${name} -DOUTPUT=${object}
              -P ${CMAKE_SOURCE_DIR}/cmake/delay_import.cmake
      DEPENDS ${def_path} ${CMAKE_SOURCE_DIR}/cmake/delay_import.cmake
      COMMENT "Making the delay-load thunks of ${name}")
    # On the command line itself: CMake's archive of a target's own objects
    # would bring back the i686 fault described in delay_import.cmake.
    add_custom_target(${target}_delay_${name} DEPENDS ${object})
    add_dependencies(${target} ${target}_delay_${name})
    target_link_libraries(${target} PRIVATE ${object})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${object})
  endforeach()
endfunction()
