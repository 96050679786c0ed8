# Helpers shared by the subsystem folders.

# qnl_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
# Tests run with their own machine directory: WINEPREFIX points into the build tree's
# temporary folder, never at ~/.wine; desktop menu entries go below XDG_DATA_HOME there, never
# into the user's own menu.
function(qnl_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # The tests' environment goes through env(1): the discovery script would split a list of
  # variables given as the ENVIRONMENT property, losing all but the first.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "/usr/bin/env;WINEPREFIX=${CMAKE_BINARY_DIR}/tmp/wineprefix-${name};XDG_DATA_HOME=${CMAKE_BINARY_DIR}/tmp/xdg-data-${name};QNL_BIN=${CMAKE_BINARY_DIR}/bin;QNL_SOURCE=${CMAKE_SOURCE_DIR};QT_QPA_PLATFORM=offscreen")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# qnl_add_setup_program(<target> FORM <text form> SOURCES <c++ files>...
#                       [HEADER <header>] [CLASS <class>] [OUTPUT_DIRECTORY <dir>] [LIBS <libraries>...])
# The setup program of a project with code of its own: an executable <target> whose main form
# is the project's TformMain (CLASS, declared in HEADER: by default the formMain.h among
# SOURCES, else the first header among them), with the handler methods it publishes, and
# which carries FORM compiled as its TFORMMAIN resource (appended by "quenloft compile
# --program" after every link; a change of FORM relinks). The program is written to
# OUTPUT_DIRECTORY (default: the runtime output directory, build/bin). LIBS are linked
# besides qnl_setup, which brings every class a project may hold.
function(qnl_add_setup_program target)
  cmake_parse_arguments(P "" "FORM;HEADER;CLASS;OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  if(NOT P_FORM OR NOT P_SOURCES)
    message(FATAL_ERROR "qnl_add_setup_program(${target}): FORM and SOURCES are required")
  endif()
  get_filename_component(form "${P_FORM}" ABSOLUTE)
  set(sources "")
  foreach(source ${P_SOURCES})
    get_filename_component(source "${source}" ABSOLUTE)
    list(APPEND sources "${source}")
  endforeach()
  set(header "${P_HEADER}")
  if(NOT header)
    foreach(source ${sources})
      get_filename_component(sourceName "${source}" NAME)
      if(sourceName STREQUAL "formMain.h")
        set(header "${source}")
      elseif(NOT firstHeader AND source MATCHES "\\.(h|hpp)$")
        set(firstHeader "${source}")
      endif()
    endforeach()
    if(NOT header)
      set(header "${firstHeader}")
    endif()
  endif()
  if(NOT header)
    message(FATAL_ERROR "qnl_add_setup_program(${target}): no header declaring TformMain among SOURCES; name it with HEADER")
  endif()
  get_filename_component(header "${header}" ABSOLUTE)
  set(class "${P_CLASS}")
  if(NOT class)
    set(class TformMain)
  endif()

  # The entry: the generic setup program's, with the project's main form.
  set(entry "${CMAKE_CURRENT_BINARY_DIR}/${target}_main.cpp")
  file(CONFIGURE OUTPUT "${entry}" CONTENT "// The entry of the setup program ${target}, made by qnl_add_setup_program.
#include \"setup/SetupProgram.h\"
#include \"${header}\"

int main(int argc, char** argv) {
  using namespace qnl;
  return RunSetupProgram(argc, argv, [](TComponent* owner) -> TCustomForm* { return new ${class}(owner); });
}
" @ONLY)
  add_executable(${target} "${entry}" ${sources})
  target_link_libraries(${target} PRIVATE qnl_setup ${P_LIBS})
  if(P_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${P_OUTPUT_DIRECTORY}")
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${form}")
  add_dependencies(${target} quenloft)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND $<TARGET_FILE:quenloft> compile "${form}" -o $<TARGET_FILE:${target}> --program $<TARGET_FILE:${target}>
    COMMENT "Appending the project ${P_FORM} to ${target}"
    VERBATIM)
endfunction()
