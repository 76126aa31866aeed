# Copies a few small generated files out of Data/ into a fuzz target's seed folder:
#   cmake -DDATA_DIR=<Data> -DOUT=<folder> -DPATTERNS="a/*.x|b.y" -DMAX_BYTES=n -DMAX_FILES=n -P
# The folder is emptied first, so a seed whose file is no longer generated goes too. Large files
# are left out: each mutation copies its seed, and small seeds mutate into more distinct cases.
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
string(REPLACE "|" ";" patterns "${PATTERNS}")
set(taken 0)
foreach(pattern ${patterns})
  file(GLOB found LIST_DIRECTORIES false "${DATA_DIR}/${pattern}")
  list(SORT found)
  foreach(f ${found})
    file(SIZE "${f}" bytes)
    if(bytes GREATER MAX_BYTES OR taken GREATER_EQUAL MAX_FILES)
      continue()
    endif()
    # The folder goes into the name: two folders may hold files of the same name.
    file(RELATIVE_PATH rel "${DATA_DIR}" "${f}")
    string(REPLACE "/" "_" name "${rel}")
    file(COPY_FILE "${f}" "${OUT}/${name}")
    math(EXPR taken "${taken} + 1")
  endforeach()
endforeach()
