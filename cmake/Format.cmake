# `format` rewrites, `format-check` fails on any project source that clang-format would change.
find_program(CLANG_FORMAT NAMES clang-format-14 clang-format)
if(NOT CLANG_FORMAT)
  message(FATAL_ERROR "Fairlark's format check needs clang-format (Debian package clang-format). Run: bash scripts/setup.sh")
endif()
set(format_globs)
foreach(folder platform engine I3d game PathFind world ui gi tools datagen tests bench)
  list(APPEND format_globs "${PROJECT_SOURCE_DIR}/${folder}/*.cpp" "${PROJECT_SOURCE_DIR}/${folder}/*.h" "${PROJECT_SOURCE_DIR}/${folder}/*.c")
endforeach()
file(GLOB_RECURSE format_files CONFIGURE_DEPENDS ${format_globs})
add_custom_target(format-check
  COMMAND ${CLANG_FORMAT} --dry-run --Werror ${format_files}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Checking the formatting of ${CMAKE_PROJECT_NAME}'s sources")
add_custom_target(format
  COMMAND ${CLANG_FORMAT} -i ${format_files}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
