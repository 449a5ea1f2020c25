# End-to-end tests of the real GTK window: each test starts its own Xvfb, runs a test program
# and drives it with xdotool (tests/e2e/lib.sh holds the shared shell functions).
add_executable(gtk_probe ${CMAKE_CURRENT_LIST_DIR}/gtk_probe.cpp)
target_link_libraries(gtk_probe PRIVATE mernolex_platform)
add_executable(screens_probe ${CMAKE_CURRENT_LIST_DIR}/screens_probe.cpp)
target_link_libraries(screens_probe PRIVATE mernolex_states)
add_executable(flashcard_data ${CMAKE_CURRENT_LIST_DIR}/flashcard_data.cpp)
target_link_libraries(flashcard_data PRIVATE mernolex_model mernolex_platform)
add_executable(journey_data ${CMAKE_CURRENT_LIST_DIR}/journey_data.cpp)
target_link_libraries(journey_data PRIVATE mernolex_practice)
pkg_check_modules(E2E_X11 REQUIRED IMPORTED_TARGET x11)
add_executable(x_request_close ${CMAKE_CURRENT_LIST_DIR}/x_request_close.cpp)
target_link_libraries(x_request_close PRIVATE PkgConfig::E2E_X11)
add_executable(x_frame_manager ${CMAKE_CURRENT_LIST_DIR}/x_frame_manager.cpp)
target_link_libraries(x_frame_manager PRIVATE PkgConfig::E2E_X11)

# The leak checker stays on: what GTK keeps until the process ends is still reachable, and the
# little fontconfig loses is suppressed by the painter's own default suppressions. Only the tests
# of the file dialog run without it: GTK 3.24's file chooser now and then loses a few strings
# of its own (g_strconcat in a folder-loading callback) when it closes while still loading a
# folder, and GTK is built without frame pointers, so the leak checker's fast unwinder cannot
# tell its allocations from ours (its slow unwinder can, but slows the program so much that the
# chooser's own races show up).
set(MERNOLEX_E2E_ENVIRONMENT "GSETTINGS_BACKEND=memory" "NO_AT_BRIDGE=1" "GDK_BACKEND=x11")

file(GLOB e2e_scripts CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/test_*.sh)
foreach(script IN LISTS e2e_scripts)
  get_filename_component(name ${script} NAME_WE)
  string(REGEX REPLACE "^test_" "" name ${name})
  # Every script gets the folder of the test tools and the program itself.
  add_test(NAME e2e_${name} COMMAND bash ${script} $<TARGET_FILE_DIR:gtk_probe> $<TARGET_FILE:mernolex>)
  set(environment ${MERNOLEX_E2E_ENVIRONMENT})
  if(name STREQUAL "gtk_file_dialog" OR name STREQUAL "screens_picture")
    list(APPEND environment "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1")
  endif()
  # The first-hour journey walks every screen: about 35 seconds under the sanitizers.
  set(timeout 90)
  if(name STREQUAL "program_journey")
    set(timeout 240)
  endif()
  set_tests_properties(e2e_${name} PROPERTIES
    LABELS e2e SKIP_RETURN_CODE 77 TIMEOUT ${timeout}
    ENVIRONMENT "${environment}")
endforeach()

# The installation into a temporary prefix, with the desktop entry and the icon; needs no X server.
add_test(NAME install_desktop_entry COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_install.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install_desktop_entry PROPERTIES LABELS e2e TIMEOUT 90)
