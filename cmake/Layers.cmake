# The libraries from the bottom up. A library may link only libraries listed before it, so the
# graph has no cycle and nothing links upward; the bottom of the simulation links no third-party
# library at all. Checked at configure time: a wrong link fails the configure with the pair named.
set(FAIRLARK_LAYERS
  platform d3dx platformSdl platformX11 d3d8
  engine I3dMath PathFind script sound input
  gi I3d particles Ent3d giRender
  game gameEnts world ui menus tools App GameApp
  datagenImages datagenCharacters datagenFonts datagenModels datagenInterface)
# These link only project libraries (and libc/libstdc++).
set(FAIRLARK_NO_THIRD_PARTY platform d3dx engine I3dMath PathFind game)
# Pairs "library:dependency" that the order alone would allow but that must stay apart: the
# world's classes stand beside the game's entity classes, and reach the grid through a query
# of the 3D entity base.
set(FAIRLARK_FORBIDDEN_LINKS world:gameEnts)

function(fairlark_check_layers)
  get_property(targets DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY BUILDSYSTEM_TARGETS)
  # Every library target of every source folder the build added, walked from the top.
  set(all_targets)
  set(dirs ${PROJECT_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    # The test and benchmark programs stand above everything.
    if(dir MATCHES "^${PROJECT_SOURCE_DIR}/(tests|bench)(/|$)")
      continue()
    endif()
    get_property(dir_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND all_targets ${dir_targets})
    list(APPEND dirs ${subdirs})
  endwhile()
  foreach(target ${all_targets})
    if(NOT target MATCHES "^fl_(.+)$")
      continue()
    endif()
    set(name ${CMAKE_MATCH_1})
    list(FIND FAIRLARK_LAYERS ${name} level)
    if(level EQUAL -1)
      message(FATAL_ERROR "Library layers: fl_${name} is not in FAIRLARK_LAYERS (cmake/Layers.cmake); "
        "add it at the height of what it links")
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(links ${target} LINK_LIBRARIES)
    endif()
    if(NOT links)
      continue()
    endif()
    foreach(link ${links})
      if(link MATCHES "^fl_(.+)$")
        set(dep ${CMAKE_MATCH_1})
        list(FIND FAIRLARK_LAYERS ${dep} dep_level)
        if(dep_level EQUAL -1 OR NOT dep_level LESS level)
          message(FATAL_ERROR "Library layers: fl_${name} links fl_${dep}, which is not below it "
            "(cmake/Layers.cmake lists the order)")
        endif()
        if("${name}:${dep}" IN_LIST FAIRLARK_FORBIDDEN_LINKS)
          message(FATAL_ERROR "Library layers: fl_${name} links fl_${dep}, a pair kept apart "
            "(FAIRLARK_FORBIDDEN_LINKS in cmake/Layers.cmake)")
        endif()
      elseif(name IN_LIST FAIRLARK_NO_THIRD_PARTY)
        message(FATAL_ERROR "Library layers: fl_${name} links ${link}; it may link only "
          "project libraries")
      endif()
    endforeach()
  endforeach()
  fairlark_check_device_includes()
endfunction()

# The Direct3D-shaped device is the render kernel's: no source outside I3d/, platform/, the tests
# and the benchmarks (which measure the device layer itself) includes platform/d3d8/.
function(fairlark_check_device_includes)
  file(GLOB folders RELATIVE ${PROJECT_SOURCE_DIR} LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/*)
  set(globs)
  foreach(folder ${folders})
    if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${folder} AND
       NOT folder MATCHES "^(I3d|platform|tests|bench|build.*|\\..*)$")
      list(APPEND globs ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h
        ${PROJECT_SOURCE_DIR}/${folder}/*.c)
    endif()
  endforeach()
  file(GLOB_RECURSE sources RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS ${globs})
  foreach(source ${sources})
    file(STRINGS ${PROJECT_SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]platform/d3d8/")
    if(lines)
      message(FATAL_ERROR "Library layers: ${source} includes platform/d3d8/; outside I3d/ and "
        "platform/ the device is reached through the render kernel (I3d/)")
    endif()
  endforeach()
endfunction()
