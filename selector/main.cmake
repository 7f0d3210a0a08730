# Cuebinder.exe, the main window's unit, and their tests. Included from
# CMakeLists.txt beside this file.
if(WIN32)
  add_library(selector_main STATIC Mainunit.cpp Genericunit.cpp Aboutunit.cpp Shellopen.cpp)
  target_include_directories(selector_main PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(selector_main PUBLIC selector_units selector_core comctl32 user32 gdi32)

  cb_program(Cuebinder GUI SHIP
    SOURCES Cuebinder.cpp Cuebinder.rc
    LIBS selector_main)
  set_property(SOURCE Cuebinder.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/Cuebinder.manifest
    ${CMAKE_CURRENT_SOURCE_DIR}/Mainres.h
    ${CMAKE_CURRENT_SOURCE_DIR}/Genericunit.rc
    ${CMAKE_CURRENT_SOURCE_DIR}/Genericres.h
    ${CMAKE_CURRENT_SOURCE_DIR}/Aboutunit.rc
    ${CMAKE_CURRENT_SOURCE_DIR}/Aboutres.h
    ${CMAKE_CURRENT_SOURCE_DIR}/res/Cuebinder.ico
    ${CMAKE_CURRENT_SOURCE_DIR}/res/MenuImages.bmp
    ${CMAKE_CURRENT_SOURCE_DIR}/res/AboutBanner.bmp)

  # The readme ships beside the program.
  add_custom_command(OUTPUT ${CB_DIST_DIR}/Readme.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/Readme.txt ${CB_DIST_DIR}/Readme.txt
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Readme.txt)
  add_custom_target(CuebinderReadme ALL DEPENDS ${CB_DIST_DIR}/Readme.txt)
  add_dependencies(Cuebinder CuebinderReadme)

  # A stand-in for the game's window: it holds the keyboard focus while the
  # end-to-end test presses a global hotkey.
  cb_program(fake_game_window GUI TOOL SOURCES tests/fake_game_window.cpp)

  # The main window driven in-process (resources linked in for the menu and images).
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/Mainunit_test.cpp)
  cb_test(selector_main_tests WINDOWS_ONLY
    SOURCES tests/Mainunit_test.cpp Cuebinder.rc
    LIBS selector_main
    LOCKS cuebinder_hotkeys
    TIMEOUT 120)
  endif()

  # The Add/Edit dialog and the About window driven in-process.
  cb_test(selector_dialog_tests WINDOWS_ONLY
    SOURCES tests/Genericunit_test.cpp tests/Aboutunit_test.cpp Cuebinder.rc
    LIBS selector_main
    TIMEOUT 120)

  # The real program started under Wine and driven from outside.
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/Cuebinder_e2e_test.cpp)
  cb_test(selector_e2e_tests WINDOWS_ONLY
    SOURCES tests/Cuebinder_e2e_test.cpp
    LIBS user32 comctl32 gdi32
    DEPENDS Cuebinder fake_game_window
    LOCKS cuebinder_hotkeys
    TIMEOUT 300)
  target_include_directories(selector_e2e_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
endif()
