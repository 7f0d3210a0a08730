# Shared build rules for every component.
#
#   cb_core_library(name SOURCES ...)            portable code, built in both presets
#   cb_test(name SOURCES ... [LIBS ...] [WINDOWS_ONLY] [LOCKS lock ...]
#           [TIMEOUT s] [LABELS ...])            a GoogleTest executable; under the
#                                                 windows preset it runs through Wine
#   cb_program(name SOURCES ... [LIBS ...] [GUI] [SHIP | TOOL]
#              [DESCRIPTION text] [PRODUCT name] [DPI_AWARE])
#                                                 a Windows program (windows preset only);
#                                                 SHIP puts it into dist/ (with version
#                                                 information and a manifest, so it needs a
#                                                 DESCRIPTION), TOOL into dist/tools/
#   cb_plugin(Name SOURCES ... DEF file.def DESCRIPTION text [LIBS ...])
#                                                 a DSP plug-in DLL in dist/ (windows only);
#                                                 its file description is
#                                                 "Tonvask DSP plug-in: <text>"
#   cb_use_program_manifest(target program)      links a shipped program's manifest into
#                                                 another target (tests of its windows)
#   cb_winpath(out path)                          the path as a Windows program sees it
#
# Test executables get these definitions (as string literals, in the form the
# test process can open directly):
#   CB_DIST_DIR    the build's dist folder, CB_TOOLS_DIR its tools/ folder
#   CB_SOURCE_DIR  the source tree, CB_BINARY_DIR the build tree
#   CB_TEST_TMP    a scratch folder private to this build tree

# One version for everything that ships: the project's own (project() in the
# top-level CMakeLists.txt). It reaches every binary's version information and
# manifest, Readme.txt, the About window and the package's name.
if(NOT PROJECT_VERSION_PATCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "The project version needs three numbers, like 3.0.0")
endif()
set(CB_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(CB_VERSION_FOUR "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
if(PROJECT_VERSION_MINOR LESS 10)
  set(CB_VERSION_SHORT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(CB_VERSION_SHORT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(CB_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/cmake/templates/version.h.in ${CB_GENERATED_DIR}/cb_version.h @ONLY)
# What `make package` and the package test read: the package's name and version.
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/package.env
     CONTENT "CB_PACKAGE_NAME=${CB_PACKAGE_NAME}\nCB_VERSION=${PROJECT_VERSION}\n")

# The width of this build: 64-bit (dist/) or 32-bit (dist32/), each with the
# same files. What the dist check expects of every binary, and what a
# program's manifest names as its processor.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(CB_WIDTH 32)
  set(CB_PE_FORMAT pei-i386)
  set(CB_MANIFEST_ARCHITECTURE x86)
else()
  set(CB_WIDTH 64)
  set(CB_PE_FORMAT pei-x86-64)
  set(CB_MANIFEST_ARCHITECTURE amd64)
endif()

# What the test scripts read to run this tree's programs: the Wine of its width.
if(WIN32)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/wine.env
       CONTENT "CB_WIDTH=${CB_WIDTH}\nCB_WINE_RUN=${CMAKE_CROSSCOMPILING_EMULATOR}\n")
endif()

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
    # Near the need: the slowest test of the Windows suite takes under half a
    # minute on a busy two-core machine, so a hang costs a minute and a half,
    # not five. (Test programs that used to sit in their exit for minutes
    # waited for Wine's desktop, which cmake/wine-session.sh now holds.)
    set(A_TIMEOUT 90)
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

# Gives a target its version information (VERSIONINFO) and, for a program, its
# manifest, both generated from the templates in cmake/templates/.
function(cb_version_resource target)
  cmake_parse_arguments(A "MANIFEST;DPI_AWARE" "DESCRIPTION;PRODUCT" "" ${ARGN})
  set(cb_target ${target})
  set(cb_description "${A_DESCRIPTION}")
  set(cb_product "${A_PRODUCT}")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(cb_file_type VFT_DLL)
    set(cb_file_name ${target}.dll)
  else()
    set(cb_file_type VFT_APP)
    set(cb_file_name ${target}.exe)
  endif()
  set(dir ${CB_GENERATED_DIR}/${target})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/templates/version.rc.in ${dir}/version.rc @ONLY)
  target_sources(${target} PRIVATE ${dir}/version.rc)
  if(A_MANIFEST)
    set(cb_assembly_name "${CB_PACKAGE_NAME}.${target}")
    set(cb_dpi_settings "")
    if(A_DPI_AWARE)
      # The program reads the screen's DPI once and lays itself out by it:
      # system-aware, so Windows reports the real DPI instead of 96.
      string(CONCAT cb_dpi_settings
        "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>\n"
        "      <dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">system</dpiAwareness>\n")
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/cmake/templates/program.manifest.in ${dir}/${target}.manifest @ONLY)
    # windres does not track the manifest it embeds: the manifest's hash in
    # the script makes every change of it rebuild the resource.
    file(MD5 ${dir}/${target}.manifest hash)
    file(CONFIGURE OUTPUT ${dir}/manifest.rc CONTENT
      "// ${target}.manifest ${hash}\n#include <windows.h>\nCREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${dir}/${target}.manifest\"\n")
    target_sources(${target} PRIVATE ${dir}/manifest.rc)
    set_target_properties(${target} PROPERTIES CB_MANIFEST_RC ${dir}/manifest.rc)
  endif()
endfunction()

function(cb_use_program_manifest target program)
  get_target_property(rc ${program} CB_MANIFEST_RC)
  if(NOT rc)
    message(FATAL_ERROR "${program} has no manifest")
  endif()
  target_sources(${target} PRIVATE ${rc})
endfunction()

function(cb_program name)
  cmake_parse_arguments(A "GUI;SHIP;TOOL;DPI_AWARE" "DESCRIPTION;PRODUCT" "SOURCES;LIBS" ${ARGN})
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
    if(NOT A_DESCRIPTION)
      message(FATAL_ERROR "cb_program(${name} SHIP) needs a DESCRIPTION for its version information")
    endif()
    if(NOT A_PRODUCT)
      set(A_PRODUCT ${CB_SUITE_PRODUCT})
    endif()
    set(dpi)
    if(A_DPI_AWARE)
      set(dpi DPI_AWARE)
    endif()
    cb_version_resource(${name} DESCRIPTION "${A_DESCRIPTION}" PRODUCT "${A_PRODUCT}" MANIFEST ${dpi})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CB_DIST_DIR})
  elseif(A_TOOL)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CB_TOOLS_DIR})
  endif()
endfunction()

function(cb_plugin name)
  cmake_parse_arguments(A "" "DEF;DESCRIPTION" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  if(NOT A_DESCRIPTION)
    message(FATAL_ERROR "cb_plugin(${name}) needs a DESCRIPTION for its version information")
  endif()
  add_library(${name} SHARED ${A_SOURCES} ${A_UNPARSED_ARGUMENTS} ${A_DEF})
  target_link_libraries(${name} PRIVATE dsp_plugin ${A_LIBS})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CB_DIST_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/implib)
  cb_version_resource(${name} DESCRIPTION "Tonvask DSP plug-in: ${A_DESCRIPTION}" PRODUCT ${CB_SUITE_PRODUCT})
  # The .def file alone decides what is exported.
  target_link_options(${name} PRIVATE -Wl,--kill-at)
endfunction()
