# The program itself: start-up and the message loop.
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/shell/main.cpp)
  add_executable(mernolex ${CMAKE_CURRENT_SOURCE_DIR}/shell/main.cpp)
  target_link_libraries(mernolex PRIVATE mernolex_screens mernolex_practice mernolex_states
    mernolex_modelui mernolex_gui mernolex_shell mernolex_platform mernolex_model mernolex_db
    mernolex_resources)
endif()
