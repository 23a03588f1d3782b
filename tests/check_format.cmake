# Fails when a C++ source of the tree differs from what .clang-format makes of
# it. Shader sources under content/ are HLSL and are left as written.
cmake_minimum_required(VERSION 3.25)
set(sources "")
foreach(folder IN ITEMS effects platform render resources run scene shell sound tests timeline tools)
  file(GLOB_RECURSE found ${SOURCE}/${folder}/*.cpp ${SOURCE}/${folder}/*.h)
  list(APPEND sources ${found})
endforeach()
execute_process(COMMAND ${CLANG_FORMAT} --style=file --dry-run --Werror ${sources}
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "not formatted by .clang-format (run clang-format -i on these files):\n${errors}")
endif()
