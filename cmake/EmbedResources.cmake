# Embedding files into a program as resources found by type and id (the handheld's resource lookup,
# gfx::ResourceTable).
#
#   tavrel_embed_resources(<target> [TYPE IMAGE] [NAME <name>]
#                          RESOURCES <id> <file> [<id> <file> ...]
#                          [DEPENDS <target or file> ...])
#
# Generates a C++ source with each file's bytes and a registration of (type, id) -> bytes that runs
# while the program starts, and adds it to <target>. Put it in the executable (or an OBJECT
# library): a static library would let the linker drop the unreferenced registrations. Relative
# file names are taken from the calling folder; files produced by the build (the asset generator's
# output) are named by their full path, and the target that makes them goes in DEPENDS. The source
# is regenerated when a file changes. NAME tells apart several calls for one target (default: TYPE).

set(TAVREL_EMBED_RESOURCES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedResourcesScript.cmake CACHE INTERNAL
    "Script that writes the source of embedded resources")

function(tavrel_embed_resources target)
  cmake_parse_arguments(ARG "" "TYPE;NAME" "RESOURCES;DEPENDS" ${ARGN})
  if(NOT ARG_TYPE)
    set(ARG_TYPE IMAGE)
  endif()
  if(NOT ARG_NAME)
    set(ARG_NAME ${ARG_TYPE})
  endif()
  list(LENGTH ARG_RESOURCES count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "tavrel_embed_resources(${target}): RESOURCES takes pairs of id and file")
  endif()

  set(manifest "")
  set(files "")
  math(EXPR last "${count} - 1")
  foreach(index RANGE 0 ${last} 2)
    math(EXPR next "${index} + 1")
    list(GET ARG_RESOURCES ${index} id)
    list(GET ARG_RESOURCES ${next} file)
    if(NOT id MATCHES "^-?[0-9]+$")
      message(FATAL_ERROR "tavrel_embed_resources(${target}): resource id '${id}' is not a number")
    endif()
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    string(APPEND manifest "${id}|${file}\n")
    list(APPEND files ${file})
  endforeach()

  set(base ${CMAKE_CURRENT_BINARY_DIR}/${target}_${ARG_NAME}_resources)
  # The manifest changes only when the list does, so an unchanged list rebuilds nothing.
  file(WRITE ${base}.list.new "${manifest}")
  configure_file(${base}.list.new ${base}.list COPYONLY)
  file(REMOVE ${base}.list.new)

  add_custom_command(
    OUTPUT ${base}.cpp
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${base}.list -DOUTPUT=${base}.cpp -DTYPE=${ARG_TYPE}
            -P ${TAVREL_EMBED_RESOURCES_SCRIPT}
    DEPENDS ${files} ${base}.list ${TAVREL_EMBED_RESOURCES_SCRIPT} ${ARG_DEPENDS}
    COMMENT "Embedding ${ARG_TYPE} resources into ${target}"
    VERBATIM)
  # The target may live in another folder than this call (a test folder embedding into its test
  # program): a custom target carries the generation step across folders.
  add_custom_target(${target}_${ARG_NAME}_resources DEPENDS ${base}.cpp)
  add_dependencies(${target} ${target}_${ARG_NAME}_resources)
  target_sources(${target} PRIVATE ${base}.cpp)
  set_source_files_properties(${base}.cpp TARGET_DIRECTORY ${target} PROPERTIES GENERATED TRUE)
  target_link_libraries(${target} PRIVATE platform_gfx)
endfunction()
