# Replaces the shader sources in DEST with those of SOURCE, so that a shader
# removed from the tree leaves the pack too.
file(GLOB old ${DEST}/*.cpp)
if(old)
  file(REMOVE ${old})
endif()
# Scenes keep their shaders in subfolders; the pack is flat.
file(GLOB_RECURSE shaders ${SOURCE}/*.cpp)
if(shaders)
  file(COPY ${shaders} DESTINATION ${DEST})
endif()
