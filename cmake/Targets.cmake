# Helpers that give every project target the same flags and shape.

# The fuzz preset: coverage for libFuzzer on every project object (the fuzz targets add
# -fsanitize=fuzzer when they link), with the same sanitizers.
if(FAIRLARK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "FAIRLARK_FUZZ needs clang (libFuzzer): use the fuzz preset")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer -g -O1)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
elseif(FAIRLARK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
endif()

# Warnings on project code only; third-party headers come in through imported targets,
# whose include folders are system folders, so their warnings stay quiet.
function(fairlark_project_flags target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(FAIRLARK_WERROR OR FAIRLARK_SANITIZE)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE
    FAIRLARK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    FAIRLARK_BUILD_DATA_DIR="${FAIRLARK_DATA_DIR}/")
endfunction()

# One static library per source folder, from every .cpp below it ("Main.cpp" is the
# program's entry and stays out). A subfolder with a CMakeLists.txt of its own is a library
# of its own and stays out too. An empty folder gives an interface placeholder.
function(fairlark_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.c")
  list(FILTER srcs EXCLUDE REGEX "/Main\\.cpp$")
  file(GLOB_RECURSE sublists CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt")
  foreach(sublist ${sublists})
    get_filename_component(subdir ${sublist} DIRECTORY)
    list(FILTER srcs EXCLUDE REGEX "^${subdir}/")
  endforeach()
  if(srcs)
    add_library(fl_${name} STATIC ${srcs})
    fairlark_project_flags(fl_${name})
    target_include_directories(fl_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(fl_${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(fl_${name} INTERFACE)
    target_include_directories(fl_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(fl_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# A data generator: a program run by the `data` target as `gen_<name> <Data folder>/ [ARGS]`.
# It runs again when its program or DEPENDS change, after data/ has been copied.
set_property(GLOBAL PROPERTY FAIRLARK_DATA_STAMPS "")
set_property(GLOBAL PROPERTY FAIRLARK_DATA_COMMANDS "")
function(fairlark_generator name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ARGS;DEPENDS" ${ARGN})
  add_executable(gen_${name} ${ARG_SOURCES})
  fairlark_project_flags(gen_${name})
  target_include_directories(gen_${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(gen_${name} PRIVATE ${ARG_LIBS})
  set(stamp "${CMAKE_BINARY_DIR}/datagen-stamps/${name}.stamp")
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FAIRLARK_DATA_DIR}
    COMMAND gen_${name} "${FAIRLARK_DATA_DIR}/" ${ARG_ARGS}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS gen_${name} ${FAIRLARK_DATA_COPY_STAMP} ${ARG_DEPENDS}
    COMMENT "Generating data: ${name}"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY FAIRLARK_DATA_STAMPS ${stamp})
  # Its command line without the data folder, one tab-separated line, for the check that a
  # second generation gives the same bytes.
  string(JOIN "\t" command "$<TARGET_FILE:gen_${name}>" ${ARG_ARGS})
  set_property(GLOBAL APPEND PROPERTY FAIRLARK_DATA_COMMANDS "${command}")
endfunction()
