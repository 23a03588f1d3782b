cmake_minimum_required(VERSION 3.25)
# Replaces the shader sources in DEST with those of SOURCE and its scene
# folders, flattened (pack entries have no folders), so that a shader removed
# from the tree leaves the pack too. A source NAME.hlsl becomes the entry
# NAME.cpp, the name the scenes load it by. Two sources of one name are an
# error. A line `#include "name.hlsl"` is replaced by SOURCE/include/name.hlsl,
# so that code several shaders share is written once; the pack holds whole
# sources.
file(GLOB old ${DEST}/*.cpp)
if(old)
  file(REMOVE ${old})
endif()
file(GLOB_RECURSE shaders ${SOURCE}/*.hlsl)
set(seen "")
foreach(shader IN LISTS shaders)
  get_filename_component(folder ${shader} DIRECTORY)
  if(folder STREQUAL "${SOURCE}/include")
    continue()
  endif()
  get_filename_component(name ${shader} NAME_WE)
  set(name "${name}.cpp")
  if(name IN_LIST seen)
    message(FATAL_ERROR "two shader sources are named ${name}; pack entries need unique names")
  endif()
  list(APPEND seen ${name})
  file(READ ${shader} text)
  string(REGEX MATCHALL "#include \"[^\"\n]+\"" directives "${text}")
  foreach(directive IN LISTS directives)
    string(REGEX REPLACE "#include \"([^\"\n]+)\"" "\\1" included "${directive}")
    if(NOT EXISTS ${SOURCE}/include/${included})
      message(FATAL_ERROR "${shader}: no ${SOURCE}/include/${included} to include")
    endif()
    file(READ ${SOURCE}/include/${included} part)
    string(REPLACE "${directive}\n" "${part}" text "${text}")
  endforeach()
  file(WRITE ${DEST}/${name} "${text}")
endforeach()
