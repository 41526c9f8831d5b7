# Host libraries. Only src/platform and tools link them directly.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)

if(TAVREL_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(TAVREL_BENCH)
  find_package(benchmark REQUIRED)
endif()
pkg_check_modules(FREETYPE2 REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(LIBCURL REQUIRED IMPORTED_TARGET libcurl)
# giflib ships no pkg-config file.
find_path(GIF_INCLUDE_DIR gif_lib.h REQUIRED)
find_library(GIF_LIBRARY gif REQUIRED)
add_library(tavrel_gif INTERFACE)
target_include_directories(tavrel_gif INTERFACE ${GIF_INCLUDE_DIR})
target_link_libraries(tavrel_gif INTERFACE ${GIF_LIBRARY})
# stb is header-only (stb_image.h, stb_image_write.h).
find_path(STB_INCLUDE_DIR stb_image.h PATH_SUFFIXES stb REQUIRED)
add_library(tavrel_stb INTERFACE)
target_include_directories(tavrel_stb INTERFACE ${STB_INCLUDE_DIR})
# SDL is loaded when a window opens or a sound plays (platform/sdl): its headers only, no link.
add_library(tavrel_sdl_headers INTERFACE)
target_include_directories(tavrel_sdl_headers INTERFACE ${SDL2_INCLUDE_DIRS})
target_compile_options(tavrel_sdl_headers INTERFACE ${SDL2_CFLAGS_OTHER})
# iCalendar: reading, writing and recurrence expansion (platform/ical).
pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
