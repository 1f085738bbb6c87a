include(${CMAKE_CURRENT_LIST_DIR}/floors.cmake)

# Each area declares its libraries through these two functions and links the
# areas below it itself (target_link_libraries).
#   somv_core(name sources...)  portable logic, built in every configuration
#   somv_win(name sources...)   Win32 layer, built only for the Windows programs
# The area is the folder of the CMakeLists.txt that calls them.
function(somv_core name)
  add_library(${name} STATIC ${ARGN})
  somv_register_area_library(${name})
endfunction()

function(somv_win name)
  if(WIN32)
    add_library(${name} STATIC ${ARGN})
    somv_register_area_library(${name})
  endif()
endfunction()

function(somv_register_area_library name)
  file(RELATIVE_PATH area ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES SOMV_AREA ${area})
  set_property(GLOBAL APPEND PROPERTY SOMV_AREA_LIBS ${name})
endfunction()

# For the test programs, which exercise every area: links all of them.
function(somv_link_every_area target)
  get_property(libraries GLOBAL PROPERTY SOMV_AREA_LIBS)
  target_link_libraries(${target} PRIVATE ${libraries})
endfunction()

# Every link of an area's library, and every #include "area/..." in an
# area's sources, must point to a floor below.
function(somv_check_floors)
  get_property(libraries GLOBAL PROPERTY SOMV_AREA_LIBS)
  foreach(library IN LISTS libraries)
    get_target_property(area ${library} SOMV_AREA)
    get_target_property(links ${library} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(TARGET ${link})
        get_target_property(used ${link} SOMV_AREA)
        if(used)
          somv_require_below(${area} ${used} "${library} (${area}/) links ${link}")
        endif()
      endif()
    endforeach()
  endforeach()
  somv_check_includes(${CMAKE_SOURCE_DIR})
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
