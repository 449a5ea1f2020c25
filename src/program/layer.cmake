# The program: the start-up sequence, the wiring of the screens of the upper layers into the
# navigation screens, and the executable, whose main() only picks the real window and runs it.
# The start-up lives in a library so that the headless tests run the very sequence the
# executable runs.
mernolex_layer(program program EXCLUDE main.cpp
  LINK mernolex_statistics mernolex_screens mernolex_exchange mernolex_practice mernolex_states mernolex_modelui mernolex_gui
       mernolex_shell mernolex_platform mernolex_speech mernolex_model mernolex_db mernolex_resources)
add_executable(mernolex ${CMAKE_CURRENT_SOURCE_DIR}/program/main.cpp)
target_link_libraries(mernolex PRIVATE mernolex_program)
# --version prints the project's version.
target_compile_definitions(mernolex_program PRIVATE MERNOLEX_VERSION="${PROJECT_VERSION}")

# cmake --install puts the program where the desktop finds it: the executable, its entry in the
# application menu and its icon. The entry is written at install time, when the prefix is final
# (desktop/WriteDesktopEntry.cmake).
include(GNUInstallDirs)
set(MERNOLEX_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/desktop)
install(TARGETS mernolex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MERNOLEX_DESKTOP_DIR}/mernolex.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(CODE "
  set(TEMPLATE \"${MERNOLEX_DESKTOP_DIR}/mernolex.desktop.in\")
  set(STAGING \"${CMAKE_CURRENT_BINARY_DIR}/desktop-entry\")
  set(BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(APPLICATIONS_DIR \"${CMAKE_INSTALL_DATADIR}/applications\")
  include(\"${MERNOLEX_DESKTOP_DIR}/WriteDesktopEntry.cmake\")
")
install(FILES ${PROJECT_SOURCE_DIR}/sample/german-english.kvtml DESTINATION ${CMAKE_INSTALL_DATADIR}/mernolex)
