# The CMake functions of the Quenloft package: find_package(Quenloft) brings them, and
# Quenloft's own build uses them for its examples and tests.

# qnl_add_setup_program(<target> FORM <text form> SOURCES <c++ files>...
#                       [HEADER <header>] [CLASS <class>] [OUTPUT_DIRECTORY <dir>] [LIBS <libraries>...])
# The setup program of a project with code of its own: an executable <target> whose main form
# is the project's TformMain (CLASS, declared in HEADER: by default the formMain.h among
# SOURCES, else the first header among them), with the handler methods it publishes, and
# which carries FORM compiled as its TFORMMAIN resource (appended by "quenloft compile
# --program" after every link; a change of FORM relinks). The program is written to
# OUTPUT_DIRECTORY (default: the runtime output directory, build/bin). LIBS are linked
# besides Quenloft::qnl_setup, which brings every class a project may hold.
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
  target_link_libraries(${target} PRIVATE Quenloft::qnl_setup ${P_LIBS})
  if(P_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${P_OUTPUT_DIRECTORY}")
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${form}")
  add_dependencies(${target} Quenloft::quenloft)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND $<TARGET_FILE:Quenloft::quenloft> compile "${form}" -o $<TARGET_FILE:${target}> --program $<TARGET_FILE:${target}>
    COMMENT "Appending the project ${P_FORM} to ${target}"
    VERBATIM)
endfunction()
