# Helpers of Quenloft's own build (not installed).

include(GNUInstallDirs)

# Where the installed package puts its parts, below the installation prefix.
set(QNL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/quenloft)
set(QNL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quenloft)
# The product directory of an installed product: the marker and the loading program, found
# by the programs of bin/ as ../lib/quenloft (kInstalledProductDir of engine/ProductDirectory.h).
set(QNL_INSTALL_PRODUCTDIR lib/quenloft)

# qnl_add_library(<name> <sources>...): the static library of the source folder being
# configured. Its headers are included as "<folder>/<file>.h": from the source root in the
# build, from include/quenloft when installed, where the folder's headers are copied.
function(qnl_add_library name)
  add_library(${name} STATIC ${ARGN})
  add_library(Quenloft::${name} ALIAS ${name})
  target_compile_features(${name} PUBLIC cxx_std_20)
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
                                            $<INSTALL_INTERFACE:${QNL_INSTALL_INCLUDEDIR}>)
  install(TARGETS ${name} EXPORT QuenloftTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/ DESTINATION ${QNL_INSTALL_INCLUDEDIR}/${folder}
          FILES_MATCHING PATTERN "*.h")
endfunction()

# qnl_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
# Tests run with their own machine directory: WINEPREFIX points into the build tree's
# temporary folder, never at ~/.wine; desktop menu entries go below XDG_DATA_HOME there, never
# into the user's own menu.
function(qnl_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # The tests' environment goes through env(1): the discovery script would split a list of
  # variables given as the ENVIRONMENT property, losing all but the first.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "/usr/bin/env;WINEPREFIX=${CMAKE_BINARY_DIR}/tmp/wineprefix-${name};XDG_DATA_HOME=${CMAKE_BINARY_DIR}/tmp/xdg-data-${name};QNL_BIN=${CMAKE_BINARY_DIR}/bin;QNL_SOURCE=${CMAKE_SOURCE_DIR};QT_QPA_PLATFORM=offscreen")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# qnl_split_entry(<name>=<file> <name var> <file var>): the two halves of an embedding entry.
function(qnl_split_entry entry name_var file_var)
  string(FIND "${entry}" "=" eq)
  string(SUBSTRING "${entry}" 0 ${eq} name)
  math(EXPR start "${eq} + 1")
  string(SUBSTRING "${entry}" ${start} -1 file)
  set(${name_var} "${name}" PARENT_SCOPE)
  set(${file_var} "${file}" PARENT_SCOPE)
endfunction()

# qnl_embed_files(<target> <function> <name>=<file>...): compiles the files into <target>;
# std::string_view qnl::<function>(std::string_view Name) returns a file's bytes by name
# (empty for an unknown name). Relative files are relative to the current source folder.
function(qnl_embed_files target function)
  set(entries "")
  set(paths "")
  foreach(entry IN LISTS ARGN)
    qnl_split_entry("${entry}" name file)
    if(NOT IS_ABSOLUTE "${file}")
      set(file "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    endif()
    list(APPEND entries "${name}=${file}")
    list(APPEND paths "${file}")
  endforeach()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${function}_data.cpp)
  string(REPLACE ";" "|" entries_arg "${entries}")
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} "-DENTRIES=${entries_arg}" -DFUNCTION=${function} -DOUTPUT=${output}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFiles.cmake
    DEPENDS ${paths} ${PROJECT_SOURCE_DIR}/cmake/EmbedFiles.cmake
    COMMENT "Embedding ${function} files" VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()

# qnl_embed_forms(<target> <function> <name>=<text form>...): compiles each text form into a
# form resource with "quenloft convert" (the converter authors use) and embeds the results as
# qnl_embed_files does. The converter runs on a machine directory of the build tree.
function(qnl_embed_forms target function)
  set(compiled "")
  foreach(entry IN LISTS ARGN)
    qnl_split_entry("${entry}" name file)
    set(input "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    set(output "${CMAKE_CURRENT_BINARY_DIR}/forms/${name}.dfm")
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/forms
      COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/tmp/wineprefix-forms
              $<TARGET_FILE:quenloft> convert ${input} ${output}
      DEPENDS ${input} quenloft
      COMMENT "Compiling the form ${file}" VERBATIM)
    list(APPEND compiled "${name}=${output}")
  endforeach()
  qnl_embed_files(${target} ${function} ${compiled})
endfunction()
