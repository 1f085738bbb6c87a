# IN_LIST, also when run on its own with -P.
cmake_policy(SET CMP0057 NEW)

# The floors of the source, top to bottom; areas on one floor (joined by
# commas) stand side by side. An area links and includes only areas on the
# floors below its own, which somv_check_floors() enforces at configure time.
set(SOMV_FLOORS
    "app,console"
    selection
    diagnostics
    timer
    "device,messages,printers"
    "framework,settings,resources"
    common)

# somv_floor_of(area out): the area's floor, 0 at the top; -1 for a folder
# that is no area (tests, the simulated library).
function(somv_floor_of area out)
  set(index 0)
  foreach(floor IN LISTS SOMV_FLOORS)
    string(REPLACE "," ";" areas "${floor}")
    if(area IN_LIST areas)
      set(${out} ${index} PARENT_SCOPE)
      return()
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${out} -1 PARENT_SCOPE)
endfunction()

# Fails unless `area` may use `used`: the same area, or one on a lower floor.
function(somv_require_below area used what)
  if(area STREQUAL used)
    return()
  endif()
  somv_floor_of(${area} floor)
  somv_floor_of(${used} used_floor)
  if(used_floor EQUAL -1 OR NOT used_floor GREATER floor)
    message(FATAL_ERROR "Floors: ${what}, but ${used}/ is not on a floor below ${area}/ "
                        "(floors, top to bottom: ${SOMV_FLOORS}; cmake/floors.cmake)")
  endif()
endfunction()

# somv_check_includes(root): every #include "area/..." in the sources of
# each area under `root` must point to a floor below. Also runs on its own:
#   cmake -DROOT=<source tree> -P floors.cmake
function(somv_check_includes root)
  foreach(floor IN LISTS SOMV_FLOORS)
    string(REPLACE "," ";" areas "${floor}")
    foreach(area IN LISTS areas)
      file(GLOB_RECURSE sources ${root}/${area}/*.h ${root}/${area}/*.cpp ${root}/${area}/*.rc)
      foreach(source IN LISTS sources)
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
        foreach(line IN LISTS includes)
          string(REGEX MATCH "\"([a-z_]+)/[^\"]*\"" included "${line}")
          set(used ${CMAKE_MATCH_1})
          somv_floor_of(${used} used_floor)
          if(NOT used_floor EQUAL -1)
            file(RELATIVE_PATH relative ${root} ${source})
            somv_require_below(${area} ${used} "${relative} includes ${included}")
          endif()
        endforeach()
      endforeach()
    endforeach()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  somv_check_includes(${ROOT})
endif()
