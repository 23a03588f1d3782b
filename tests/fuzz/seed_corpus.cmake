# Writes the seed corpus of one fuzz target into the folder OUT: the target's
# built-in seeds and the files matching INPUTS (glob patterns joined by '|'),
# through WRITER, the target linked with the bounded driver. Files over
# MAX_SIZE bytes are left out, or cut to their first MAX_SIZE bytes where CUT
# is ON (streams that stay readable when cut).
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
string(REPLACE "|" ";" patterns "${INPUTS}")
set(files "")
foreach(pattern IN LISTS patterns)
  file(GLOB found LIST_DIRECTORIES false ${pattern})
  list(SORT found)
  list(APPEND files ${found})
endforeach()
set(options --write-seeds=${OUT} --max-size=${MAX_SIZE})
if(CUT)
  list(APPEND options --cut)
endif()
execute_process(COMMAND ${WRITER} ${options} ${files} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${WRITER} could not write the seed corpus (${status})")
endif()
