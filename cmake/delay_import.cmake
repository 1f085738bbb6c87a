# Makes one object file of delay-load thunks for the library a .def names:
#   cmake -DTOOL_PREFIX=<triplet>- -DDEF=<file.def> -DWORK=<dir> -DOUTPUT=<file.o>
#         [-DSYSTEM_LIB=<import library>] -P delay_import.cmake
# The thunks are linked as an object, not as an archive: GNU ld, linking the
# i686 delay-load archive that dlltool writes, drops the thunks' code and
# leaves every entry pointing at address 0. With SYSTEM_LIB (the 32-bit
# build), each name gets the stdcall decoration that the system's import
# library gives it, and a name that library lacks is left out.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(def ${DEF})
if(SYSTEM_LIB)
  execute_process(COMMAND ${TOOL_PREFIX}nm ${SYSTEM_LIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot read ${SYSTEM_LIB}")
  endif()
  file(STRINGS ${DEF} lines)
  set(decorated "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[A-Za-z_][A-Za-z0-9_]*$" AND NOT line STREQUAL "EXPORTS")
      if(symbols MATCHES " __imp__${line}(@[0-9]+)\n")
        string(APPEND decorated "${line}${CMAKE_MATCH_1}\n")
      endif()
    else()
      string(APPEND decorated "${line}\n")
    endif()
  endforeach()
  set(def ${WORK}/decorated.def)
  file(WRITE ${def} "${decorated}")
endif()
execute_process(COMMAND ${TOOL_PREFIX}dlltool --input-def ${def} --output-delaylib ${WORK}/delay.a
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${TOOL_PREFIX}ar x delay.a WORKING_DIRECTORY ${WORK} COMMAND_ERROR_IS_FATAL ANY)
# Head, thunks, tail: the order in which their table entries must follow.
file(GLOB head ${WORK}/*_h.o)
file(GLOB thunks ${WORK}/*_s[0-9]*.o)
file(GLOB tail ${WORK}/*_t.o)
list(SORT thunks)
execute_process(COMMAND ${TOOL_PREFIX}ld -r -o ${OUTPUT} ${head} ${thunks} ${tail} COMMAND_ERROR_IS_FATAL ANY)
