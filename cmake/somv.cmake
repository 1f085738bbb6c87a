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
    # Delay-load libraries first, so that they answer for what they list.
    target_link_libraries(${target} PRIVATE $<TARGET_PROPERTY:${target},SOMV_DELAY_LIBS>
                                            comctl32 shlwapi winspool user32 gdi32 kernel32)
  endif()
endfunction()

# somv_delay_load(target defs...): the libraries that the .def files name are
# loaded on the first call into them instead of when the program starts. Each
# .def lists every function the program calls in its library; one missing
# there is imported at load time as usual, which scripts/check-binaries
# reports.
function(somv_delay_load target)
  find_program(SOMV_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool REQUIRED)
  foreach(def ${ARGN})
    get_filename_component(name ${def} NAME_WE)
    get_filename_component(def_path ${def} ABSOLUTE)
    set(lib ${CMAKE_CURRENT_BINARY_DIR}/delay_imports/lib${name}_delay.a)
    add_custom_command(OUTPUT ${lib}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/delay_imports
      COMMAND ${SOMV_DLLTOOL} --input-def ${def_path} --output-delaylib ${lib}
      DEPENDS ${def_path}
      COMMENT "Making the delay-load library of ${name}")
    add_custom_target(${target}_delay_${name} DEPENDS ${lib})
    add_dependencies(${target} ${target}_delay_${name})
    set_property(TARGET ${target} APPEND PROPERTY SOMV_DELAY_LIBS ${lib})
  endforeach()
endfunction()
