# Running the Windows test programs under Wine on this machine: every test
# program's emulator is `wine-session.sh run`, and a setup and a cleanup test
# around them start and stop the session (X display, wineserver).
find_program(SUITE_XVFB Xvfb REQUIRED)
if(NOT EXISTS /usr/lib/wine/wine64)
  message(FATAL_ERROR "wine64 is needed to run the Windows tests (tools/install-deps.sh installs it)")
endif()
set(suite_wine_session "${CMAKE_CURRENT_LIST_DIR}/wine-session.sh")
set(CMAKE_CROSSCOMPILING_EMULATOR "${suite_wine_session};run;${CMAKE_BINARY_DIR}")

add_test(NAME Wine.StartSession COMMAND "${suite_wine_session}" start "${CMAKE_BINARY_DIR}")
add_test(NAME Wine.StopSession COMMAND "${suite_wine_session}" stop "${CMAKE_BINARY_DIR}")
set_tests_properties(Wine.StartSession PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(Wine.StopSession PROPERTIES FIXTURES_CLEANUP wine)

# suite_add_wine_test(<test program> [EXCLUDE <test names...>]): the whole
# program as one test (one Wine process), without the excluded cases.
function(suite_add_wine_test name)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  set(arguments "")
  if(ARG_EXCLUDE)
    list(JOIN ARG_EXCLUDE ":" filter)
    set(arguments "--gtest_filter=-${filter}")
  endif()
  add_test(NAME ${name} COMMAND ${name} ${arguments})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "MESA_SHADER_CACHE_DISABLE=true")
endfunction()
