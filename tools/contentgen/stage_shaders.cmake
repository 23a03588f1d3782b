# Replaces the shader sources in DEST with those of SOURCE, so that a shader
# removed from the tree leaves the pack too.
file(GLOB old ${DEST}/*.cpp)
if(old)
  file(REMOVE ${old})
endif()
file(GLOB shaders ${SOURCE}/*.cpp)
if(shaders)
  file(COPY ${shaders} DESTINATION ${DEST})
endif()
