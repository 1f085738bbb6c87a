# The build's names come from scripts/names.sh, which the scripts source too.
# Each NAME=value line becomes the CMake variable NAME and a string macro of
# generated/build_names.h, which the code and the resource scripts include;
# SOMV_PROGRAM, SOMV_CONSOLE and SOMV_STATUS_LIB are this build's.
set(names_file ${CMAKE_SOURCE_DIR}/scripts/names.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${names_file})
file(STRINGS ${names_file} name_lines REGEX "^SOMV_[A-Z0-9_]+=")
set(build_names_text "/* Generated from scripts/names.sh by cmake/build_names.cmake. */\n#pragma once\n\n")
foreach(line IN LISTS name_lines)
  if(NOT line MATCHES "^(SOMV_[A-Z0-9_]+)=\"?([^\"]*)\"?$")
    message(FATAL_ERROR "scripts/names.sh: cannot read '${line}'")
  endif()
  set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
  string(APPEND build_names_text "#define ${CMAKE_MATCH_1} \"${CMAKE_MATCH_2}\"\n")
endforeach()

# Whole file names, for the resource compiler, which joins no strings.
string(APPEND build_names_text "\n")
foreach(bits 32 64)
  string(APPEND build_names_text
    "#define SOMV_PROGRAM_${bits}_EXE \"${SOMV_PROGRAM_${bits}}.EXE\"\n"
    "#define SOMV_PROGRAM_${bits}_DLL \"${SOMV_PROGRAM_${bits}}.DLL\"\n"
    "#define SOMV_CONSOLE_${bits}_EXE \"${SOMV_CONSOLE_${bits}}.EXE\"\n"
    "#define SOMV_STATUS_LIB_${bits}_DLL \"${SOMV_STATUS_LIB_${bits}}.DLL\"\n")
endforeach()

# The version as the resource compiler's four numbers.
string(REPLACE "." "," version_numbers "${SOMV_VERSION}")
string(APPEND build_names_text "#define SOMV_VERSION_NUMBERS ${version_numbers}\n")

# Rewritten only when it changes, so a configure rebuilds nothing needlessly.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/build_names.h CONTENT "${build_names_text}" @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(build_bits 32)
else()
  set(build_bits 64)
endif()
set(SOMV_PROGRAM ${SOMV_PROGRAM_${build_bits}})
set(SOMV_CONSOLE ${SOMV_CONSOLE_${build_bits}})
set(SOMV_STATUS_LIB ${SOMV_STATUS_LIB_${build_bits}})
