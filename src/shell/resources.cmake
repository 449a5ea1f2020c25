# The framework resource tables and files (interface strings, colours, font face): the standard
# library only. They live in shell/ beside the framework but form their own library, so that the
# domain model can read interface strings without depending on any window code.
set(MERNOLEX_RESOURCE_SOURCES
  frameworkFileManager.cpp
  frameworkDefaults.cpp
)
list(TRANSFORM MERNOLEX_RESOURCE_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/shell/)
set(existing "")
foreach(source IN LISTS MERNOLEX_RESOURCE_SOURCES)
  if(EXISTS ${source})
    list(APPEND existing ${source})
  endif()
endforeach()
if(existing)
  add_library(mernolex_resources STATIC ${existing})
  target_include_directories(mernolex_resources PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(mernolex_resources PUBLIC mernolex_base)
else()
  add_library(mernolex_resources INTERFACE)
  target_include_directories(mernolex_resources INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
endif()
