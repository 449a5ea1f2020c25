# The program: the start-up sequence, the wiring of the screens of the upper layers into the
# navigation screens, and the executable, whose main() only picks the real window and runs it.
# The start-up lives in a library so that the headless tests run the very sequence the
# executable runs.
mernolex_layer(program program EXCLUDE main.cpp
  LINK mernolex_screens mernolex_practice mernolex_states mernolex_modelui mernolex_gui
       mernolex_shell mernolex_platform mernolex_model mernolex_db mernolex_resources)
add_executable(mernolex ${CMAKE_CURRENT_SOURCE_DIR}/program/main.cpp)
target_link_libraries(mernolex PRIVATE mernolex_program)
