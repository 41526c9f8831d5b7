# The files tools/assetgen draws into the build tree, for every folder that needs them.
#
#   include(${PROJECT_SOURCE_DIR}/assets/TavrelAssets.cmake)
#   tavrel_embed_image_resources(tavrel)        # the program's "IMAGE" resources, all ids
#   target_link_libraries(tavrel PRIVATE tavrel_resource_ids)   # #include "assets/ResourceIds.h"
#
# Variables:
#   TAVREL_ASSETS_DIR        ${CMAKE_BINARY_DIR}/assets, the generator's output folder
#   TAVREL_PACKAGE_DIR       ${TAVREL_ASSETS_DIR}/package, laid out as the device's file system
#   TAVREL_IMAGE_RESOURCES   id/file pairs for tavrel_embed_resources()
#   TAVREL_PACKAGE_FILES     the package's files, relative to TAVREL_PACKAGE_DIR
#   TAVREL_ASSET_FILES       every generated file, full paths (the generator's outputs)
#   TAVREL_ASSET_LIST        a file naming every generated file relative to TAVREL_ASSETS_DIR
#   TAVREL_QOLOGCONFIG_ICON  QoLog Config's program icon, its resource 128 (also a global property)
#
# The target tavrel_assets (tools/assetgen) makes them. The list here and the generator's own are
# checked against each other whenever the generator runs.
include_guard(GLOBAL)

set(TAVREL_ASSETS_DIR ${CMAKE_BINARY_DIR}/assets)
set(TAVREL_PACKAGE_DIR ${TAVREL_ASSETS_DIR}/package)

set(TAVREL_MONTH_NAMES January February March April May June July August September October November
    December)
# The icon files of the default rules, in the order the rules first name them.
set(TAVREL_RULE_ICONS Cake Party Heart Moslem MLK Jewish Christian Egg Mom Dad Fireworks Pumpkin Turkey
    Chanukah Kwanzaa Christmas Handshake Phone2 Medical Dentist Plane Van Camera Church Money Breakfast
    Hamburger Dinner Dog Soccer Golf Basketball Glove Football Chkbox)

# Image resources: 128 program icon, 131-134 reminder pictures, 140 time bar, 141 week bar,
# 143 background (JPEG), 144 day bar, 145-156 month titles, 160-165 tool buttons, 200-247 clock
# icons, 250 all day, 252 links, 253 more marker, 255 folder (assets/ResourceIds.h names them).
set(_tavrel_gif_ids 128 131 132 133 134 140 141 144)
foreach(id RANGE 145 156)
  list(APPEND _tavrel_gif_ids ${id})
endforeach()
foreach(id RANGE 160 165)
  list(APPEND _tavrel_gif_ids ${id})
endforeach()
foreach(id RANGE 200 247)
  list(APPEND _tavrel_gif_ids ${id})
endforeach()
list(APPEND _tavrel_gif_ids 250 252 253 255)

set(TAVREL_IMAGE_RESOURCES 143 ${TAVREL_ASSETS_DIR}/resources/143.jpg)
set(_tavrel_relative resources/143.jpg)
foreach(id IN LISTS _tavrel_gif_ids)
  list(APPEND TAVREL_IMAGE_RESOURCES ${id} ${TAVREL_ASSETS_DIR}/resources/${id}.gif)
  list(APPEND _tavrel_relative resources/${id}.gif)
endforeach()

set(TAVREL_PACKAGE_FILES)
foreach(name IN LISTS TAVREL_RULE_ICONS)
  list(APPEND TAVREL_PACKAGE_FILES "Program Files/Tavrel/Icons/${name}.gif")
endforeach()
foreach(month IN LISTS TAVREL_MONTH_NAMES)
  list(APPEND TAVREL_PACKAGE_FILES "Program Files/Tavrel/${month}.gif")
endforeach()
list(APPEND TAVREL_PACKAGE_FILES "Program Files/Tavrel/Daybar.gif"
     "Program Files/Tavrel/TavrelToday2002.DLL" "Program Files/Tavrel/TavrelToday2000.DLL"
     "My Documents/CalendarSkinDefault/Default.TavrelSkin")
foreach(month IN LISTS TAVREL_MONTH_NAMES)
  list(APPEND TAVREL_PACKAGE_FILES "My Documents/CalendarSkinDefault/${month}.jpg")
endforeach()

# QoLog Config's program icon (its resource 128).
set(TAVREL_QOLOGCONFIG_ICON ${TAVREL_ASSETS_DIR}/qologconfig/128.gif)
list(APPEND _tavrel_relative qologconfig/128.gif)

set(TAVREL_ASSET_FILES)
foreach(file IN LISTS _tavrel_relative)
  list(APPEND TAVREL_ASSET_FILES ${TAVREL_ASSETS_DIR}/${file})
endforeach()
foreach(file IN LISTS TAVREL_PACKAGE_FILES)
  list(APPEND _tavrel_relative "package/${file}")
  list(APPEND TAVREL_ASSET_FILES "${TAVREL_PACKAGE_DIR}/${file}")
endforeach()

# The list for the generator's check; rewritten only when it changes, so nothing rebuilds for
# nothing.
set(TAVREL_ASSET_LIST ${TAVREL_ASSETS_DIR}/asset-list.txt)
list(JOIN _tavrel_relative "\n" _tavrel_list_text)
file(WRITE ${TAVREL_ASSET_LIST}.new "${_tavrel_list_text}\n")
configure_file(${TAVREL_ASSET_LIST}.new ${TAVREL_ASSET_LIST} COPYONLY)
file(REMOVE ${TAVREL_ASSET_LIST}.new)

if(NOT TARGET tavrel_resource_ids)
  add_library(tavrel_resource_ids INTERFACE)
  # "assets/ResourceIds.h", and nothing else of the project's root.
  tavrel_include_root(tavrel_resource_ids assets)
endif()

# Embeds every image resource into `target` (an executable), after the generator has drawn them.
# Callable from any folder, also where this file's variables are not in scope.
set_property(GLOBAL PROPERTY TAVREL_IMAGE_RESOURCES ${TAVREL_IMAGE_RESOURCES})
set_property(GLOBAL PROPERTY TAVREL_ASSETS_DIR ${TAVREL_ASSETS_DIR})
set_property(GLOBAL PROPERTY TAVREL_QOLOGCONFIG_ICON ${TAVREL_QOLOGCONFIG_ICON})
function(tavrel_embed_image_resources target)
  get_property(resources GLOBAL PROPERTY TAVREL_IMAGE_RESOURCES)
  tavrel_embed_resources(${target} RESOURCES ${resources} DEPENDS tavrel_assets)
endfunction()
