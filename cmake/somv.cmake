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
    target_link_libraries(${target} PRIVATE comctl32 shlwapi winspool user32 gdi32 kernel32)
  endif()
endfunction()
