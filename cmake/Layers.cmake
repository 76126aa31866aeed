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
      elseif(name IN_LIST FAIRLARK_NO_THIRD_PARTY)
        message(FATAL_ERROR "Library layers: fl_${name} links ${link}; it may link only "
          "project libraries")
      endif()
    endforeach()
  endforeach()
endfunction()
