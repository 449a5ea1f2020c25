# Our own layer in place of the window system: the Platform interface, the shared cairo/pango
# painter and xkbcommon keyboard layouts, the headless backend and the GTK 3 backend.
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(XKBCOMMON REQUIRED IMPORTED_TARGET xkbcommon)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
# The fontconfig side of pango's fonts (a font's pattern); pangocairo loads it anyway.
pkg_check_modules(PANGOFT2 REQUIRED IMPORTED_TARGET pangoft2)
file(GLOB platform_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/headless/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/gtk/*.cpp)
if(platform_sources)
  add_library(mernolex_platform STATIC ${platform_sources})
  target_include_directories(mernolex_platform PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(mernolex_platform PUBLIC mernolex_base PkgConfig::GTK3 PkgConfig::XKBCOMMON PkgConfig::X11
                        PkgConfig::FONTCONFIG PkgConfig::PANGOFT2)
else()
  add_library(mernolex_platform INTERFACE)
  target_include_directories(mernolex_platform INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(mernolex_platform INTERFACE mernolex_base)
endif()
