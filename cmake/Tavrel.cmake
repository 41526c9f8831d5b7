# Build helpers shared by every folder.

option(TAVREL_WERROR "Treat compiler warnings as errors (the test command turns it on)" OFF)
option(TAVREL_TSAN "Build with ThreadSanitizer (a build of its own; not with TAVREL_SANITIZE)" OFF)
if(TAVREL_SANITIZE AND TAVREL_TSAN)
  message(FATAL_ERROR "TAVREL_SANITIZE and TAVREL_TSAN cannot be combined: use two build folders")
endif()

# The compiler's flags for every target: warnings, and the sanitizers when asked for.
add_library(tavrel_flags INTERFACE)
target_compile_options(tavrel_flags INTERFACE -Wall -Wextra -Wno-unused-parameter -Wsuggest-override -Wnon-virtual-dtor
                                              -Wimplicit-fallthrough)
if(TAVREL_WERROR)
  target_compile_options(tavrel_flags INTERFACE -Werror)
endif()
if(TAVREL_SANITIZE)
  target_compile_options(tavrel_flags INTERFACE -O1 -fsanitize=address,undefined -fno-omit-frame-pointer
                                                -fno-sanitize-recover=undefined)
  target_link_options(tavrel_flags INTERFACE -fsanitize=address,undefined)
endif()
if(TAVREL_TSAN)
  target_compile_options(tavrel_flags INTERFACE -O1 -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(tavrel_flags INTERFACE -fsanitize=thread)
endif()

# The flags and src/ as the include root: the platform, the tools, the tests and the benchmarks
# include "platform/device/File.h" or "data/TavrelEvent.h" from there. The calendar's own folders
# do not: each sees only the include roots of the libraries it links (tavrel_include_root).
add_library(tavrel_options INTERFACE)
target_link_libraries(tavrel_options INTERFACE tavrel_flags)
target_include_directories(tavrel_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

# tavrel_include_root(TARGET FOLDER)
# Gives TARGET, and whatever links it, an include root that holds FOLDER (a path below the project,
# such as src/data or src/platform/device) and nothing else, under its usual name: "data/..." or
# "platform/device/...". The root is a folder of the build tree with one symbolic link in it, so
# a library that does not link the data layer finds no "data/TavrelEvent.h", and an include that
# runs up the layers fails to build.
function(tavrel_include_root target folder)
  string(REGEX REPLACE "^src/" "" name "${folder}")
  string(REPLACE "/" "_" root_name "${name}")
  set(root ${CMAKE_BINARY_DIR}/include-roots/${root_name})
  get_filename_component(parent "${root}/${name}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} "${root}/${name}" SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()

# tavrel_library(NAME [DIRS dir...] [LIBS lib...] [PUBLIC lib...] [PRIVATE lib...] [DEFINES def...]
#                [EXCLUDE regex...])
# A static library of every .cpp below the given folders (default: the calling folder). LIBS and
# PUBLIC are linked PUBLIC (a header of the library includes theirs), PRIVATE only for its sources.
#
# Where it lives decides what it sees:
#   src/platform/...   src/ as its include root (privately), and its own folder's root for others
#   src/<folder>       only its own folder's root and those of what it links: the calendar's layers
#   elsewhere          src/ as its include root, passed on (test support)
function(tavrel_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS;PUBLIC;PRIVATE;DEFINES;EXCLUDE" ${ARGN})
  if(NOT ARG_DIRS)
    set(ARG_DIRS ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  if(NOT sources)
    # A folder whose code has not been written yet still yields a library to link against.
    set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${placeholder} "// ${name} has no sources yet\n")
    set(sources ${placeholder})
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC tavrel_flags ${ARG_LIBS} ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(folder MATCHES "^src/platform(/|$)")
    tavrel_include_root(${name} ${folder})
    target_link_libraries(${name} PRIVATE tavrel_options)
  elseif(folder MATCHES "^src/")
    tavrel_include_root(${name} ${folder})
  else()
    target_link_libraries(${name} PUBLIC tavrel_options)
  endif()
  if(ARG_DEFINES)
    target_compile_definitions(${name} PUBLIC ${ARG_DEFINES})
  endif()
endfunction()

# tavrel_program(NAME [DIRS dir...] [LIBS lib...])
function(tavrel_program name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS" ${ARGN})
  if(NOT ARG_DIRS)
    set(ARG_DIRS ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(sources)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE tavrel_options ${ARG_LIBS})
endfunction()
