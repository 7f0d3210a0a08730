# Shared build rules for every component.
#
#   cb_core_library(name SOURCES ...)            portable code, built in both presets
#   cb_test(name SOURCES ... [LIBS ...] [WINDOWS_ONLY] [LOCKS lock ...]
#           [TIMEOUT s] [LABELS ...])            a GoogleTest executable; under the
#                                                 windows preset it runs through Wine
#   cb_program(name SOURCES ... [LIBS ...] [GUI] [SHIP | TOOL])
#                                                 a Windows program (windows preset only);
#                                                 SHIP puts it into dist/, TOOL into dist/tools/
#   cb_plugin(Name SOURCES ... DEF file.def [LIBS ...])
#                                                 a DSP plug-in DLL in dist/ (windows only)
#   cb_winpath(out path)                          the path as a Windows program sees it
#
# Test executables get these definitions (as string literals, in the form the
# test process can open directly):
#   CB_DIST_DIR    the build's dist folder, CB_TOOLS_DIR its tools/ folder
#   CB_SOURCE_DIR  the source tree, CB_BINARY_DIR the build tree
#   CB_TEST_TMP    a scratch folder private to this build tree

set(CB_DIST_DIR  ${PROJECT_BINARY_DIR}/dist)
set(CB_TOOLS_DIR ${PROJECT_BINARY_DIR}/dist/tools)
set(CB_TEST_TMP  ${PROJECT_BINARY_DIR}/testtmp)
file(MAKE_DIRECTORY ${CB_DIST_DIR} ${CB_TOOLS_DIR} ${CB_TEST_TMP})

if(WIN32)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
else()
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
endif()

# GoogleTest from the machine's own sources, built by whichever compiler this preset uses.
if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
include(GoogleTest)
enable_testing()

function(cb_winpath out path)
  if(WIN32)
    # Wine maps Z: to the Unix root; forward slashes work in every Win32 call.
    set(${out} "Z:${path}" PARENT_SCOPE)
  else()
    set(${out} "${path}" PARENT_SCOPE)
  endif()
endfunction()

cb_winpath(CB_DIST_DIR_W  ${CB_DIST_DIR})
cb_winpath(CB_TOOLS_DIR_W ${CB_TOOLS_DIR})
cb_winpath(CB_SOURCE_DIR_W ${PROJECT_SOURCE_DIR})
cb_winpath(CB_BINARY_DIR_W ${PROJECT_BINARY_DIR})
cb_winpath(CB_TEST_TMP_W  ${CB_TEST_TMP})

function(cb_core_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${A_INCLUDES})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

function(cb_test name)
  cmake_parse_arguments(A "WINDOWS_ONLY;NATIVE_ONLY" "TIMEOUT" "SOURCES;LIBS;LOCKS;LABELS;DEPENDS" ${ARGN})
  if(A_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  if(A_NATIVE_ONLY AND WIN32)
    return()
  endif()
  add_executable(${name} ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock ${A_LIBS})
  target_compile_definitions(${name} PRIVATE
    "CB_DIST_DIR=\"${CB_DIST_DIR_W}\""
    "CB_TOOLS_DIR=\"${CB_TOOLS_DIR_W}\""
    "CB_SOURCE_DIR=\"${CB_SOURCE_DIR_W}\""
    "CB_BINARY_DIR=\"${CB_BINARY_DIR_W}\""
    "CB_TEST_TMP=\"${CB_TEST_TMP_W}\"")
  if(A_DEPENDS)
    add_dependencies(${name} ${A_DEPENDS})
  endif()
  if(NOT A_TIMEOUT)
    # Generous: under Wine on a loaded two-core machine a process now and then
    # stalls for a minute before it runs.
    set(A_TIMEOUT 300)
  endif()
  set(props TIMEOUT ${A_TIMEOUT})
  if(WIN32)
    list(APPEND props LABELS "windows;${A_LABELS}")
  else()
    list(APPEND props LABELS "native;${A_LABELS}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ${props})
  if(A_LOCKS)
    # gtest_discover_tests flattens its PROPERTIES into one list, so a second
    # lock would be read as a property name and dropped. The locks are set by
    # a script of their own that CTest runs after the discovered tests exist.
    set(lock_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake)
    file(WRITE ${lock_file}
      "if(DEFINED ${name}_TESTS)\n"
      "  set_tests_properties(\${${name}_TESTS} PROPERTIES RESOURCE_LOCK \"${A_LOCKS}\")\n"
      "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${lock_file})
  endif()
endfunction()

function(cb_program name)
  cmake_parse_arguments(A "GUI;SHIP;TOOL" "" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  if(A_GUI)
    add_executable(${name} WIN32 ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  else()
    add_executable(${name} ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  endif()
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
  if(A_SHIP)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CB_DIST_DIR})
  elseif(A_TOOL)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CB_TOOLS_DIR})
  endif()
endfunction()

function(cb_plugin name)
  cmake_parse_arguments(A "" "DEF" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_library(${name} SHARED ${A_SOURCES} ${A_UNPARSED_ARGUMENTS} ${A_DEF})
  target_link_libraries(${name} PRIVATE dsp_plugin ${A_LIBS})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CB_DIST_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/implib)
  # The .def file alone decides what is exported.
  target_link_options(${name} PRIVATE -Wl,--kill-at)
endfunction()
