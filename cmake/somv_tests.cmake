# How the tests are registered with CTest. Every configuration lives in a
# directory of its own under one build directory (build/native, build/win64,
# ...), which the scripts know as SOMV_BUILD_DIR.
get_filename_component(SOMV_BUILD_ROOT ${CMAKE_BINARY_DIR} DIRECTORY)
set(SOMV_TEST_ENVIRONMENT SOMV_BUILD_DIR=${SOMV_BUILD_ROOT})
set(SOMV_WINE_TEST bash ${CMAKE_SOURCE_DIR}/cmake/wine_test.sh)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(SOMV_ARCH win64)
else()
  set(SOMV_ARCH win32)
endif()

# somv_wine_fixtures(): the virtual display and this build's Wine prefix,
# made once before the first test that needs them and ended after the last.
# Both of the prefix's steps need the display, so that it outlives every
# test in the prefix; a test needs only the prefix.
function(somv_wine_fixtures)
  foreach(step start stop)
    add_test(NAME display-${step} COMMAND ${SOMV_WINE_TEST} display-${step} ${SOMV_ARCH})
    add_test(NAME prefix-${step} COMMAND ${SOMV_WINE_TEST} prefix-${step} ${SOMV_ARCH})
    set_tests_properties(display-${step} prefix-${step} PROPERTIES ENVIRONMENT "${SOMV_TEST_ENVIRONMENT}" TIMEOUT 360)
  endforeach()
  set_tests_properties(display-start PROPERTIES FIXTURES_SETUP display)
  set_tests_properties(display-stop PROPERTIES FIXTURES_CLEANUP display)
  set_tests_properties(prefix-start PROPERTIES FIXTURES_SETUP prefix FIXTURES_REQUIRED display RESOURCE_LOCK prefix)
  set_tests_properties(prefix-stop PROPERTIES FIXTURES_CLEANUP prefix FIXTURES_REQUIRED display RESOURCE_LOCK prefix)
endfunction()

# The properties of a test that runs on the display in the prefix, alone in
# it: its runner stops it after its limit, CTest a little later.
set(SOMV_WINE_TEST_PROPERTIES SKIP_RETURN_CODE 77 FIXTURES_REQUIRED prefix RESOURCE_LOCK prefix
    ENVIRONMENT "${SOMV_TEST_ENVIRONMENT}")

function(somv_under_wine test labels seconds)
  math(EXPR ctest_limit "${seconds} + 30")
  set_tests_properties(${test} PROPERTIES LABELS "${labels}" TIMEOUT ${ctest_limit} ${SOMV_WINE_TEST_PROPERTIES})
endfunction()

# Each suite under Wine is known twice: one test per GoogleTest test or
# scenario, to run one by name, and the whole suite in one run (label
# `whole` beside the suite's own), which pays Wine's start and the suite's
# set-up once. scripts/test runs either the whole suites or the pieces.

# somv_scenarios(SUITE SCRIPT LABEL [SECONDS]): one test SUITE.NAME for each
# scenario SCRIPT runs, read from its lines `scenario NAME SECONDS FUNCTION`
# (or `e2e_scenario ...`), run alone through SOMV_SCENARIO. SECONDS is what
# the suite takes to set itself up. Editing the script configures anew, so a
# new scenario is a new test.
function(somv_scenarios suite script label)
  set(setup_seconds 120)
  if(ARGC GREATER 3)
    set(setup_seconds ${ARGV3})
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
  set(call "(e2e_)?scenario +\"?([A-Za-z0-9_\$\{\}-]+)\"? +([0-9]+) +[A-Za-z_]")
  file(STRINGS ${script} lines REGEX "^[^#]*${call}")
  set(count 0)
  set(total_seconds ${setup_seconds})
  foreach(line IN LISTS lines)
    string(REGEX MATCH "${call}" found "${line}")
    set(own_seconds ${CMAKE_MATCH_3})
    math(EXPR seconds "${own_seconds} + ${setup_seconds}")
    string(REGEX REPLACE "\\$[{]?ARCH[}]?" ${SOMV_ARCH} name "${CMAKE_MATCH_2}")
    add_test(NAME ${suite}.${name}
      COMMAND ${SOMV_WINE_TEST} run ${SOMV_ARCH} ${seconds} env SOMV_SCENARIO=${name} bash ${script} ${SOMV_ARCH})
    somv_under_wine(${suite}.${name} ${label} ${seconds})
    math(EXPR count "${count} + 1")
    math(EXPR total_seconds "${total_seconds} + ${own_seconds}")
  endforeach()
  if(count EQUAL 0)
    message(FATAL_ERROR "${script}: no scenario found")
  endif()
  add_test(NAME ${suite} COMMAND ${SOMV_WINE_TEST} run ${SOMV_ARCH} ${total_seconds} bash ${script} ${SOMV_ARCH})
  somv_under_wine(${suite} "${label};whole" ${total_seconds})
endfunction()
