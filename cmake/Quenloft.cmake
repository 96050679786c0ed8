# Helpers shared by the subsystem folders.

# qnl_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
# Tests run with their own machine directory: WINEPREFIX points into the build tree's
# temporary folder, never at ~/.wine.
function(qnl_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # The tests' environment goes through env(1): the discovery script would split a list of
  # variables given as the ENVIRONMENT property, losing all but the first.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "/usr/bin/env;WINEPREFIX=${CMAKE_BINARY_DIR}/tmp/wineprefix-${name};QNL_BIN=${CMAKE_BINARY_DIR}/bin;QNL_SOURCE=${CMAKE_SOURCE_DIR};QT_QPA_PLATFORM=offscreen")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
