# The web page, built by emscripten (scripts/web.sh runs it): the system's
# folders as they are, the stand-ins with their web sides (*_web.cpp) in place
# of the files that need SDL2, libepoxy, EGL or libmpg123, and the page's own
# entry (run/web). The pack and the music come from the native build.
set(DEMO_WEB_INCLUDE ${CMAKE_BINARY_DIR}/include)
# Only stb/ and kissfft/ from the host: its /usr/include as a whole holds glibc's headers.
find_path(STB_HOST_DIR stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(KISSFFT_HOST_DIR kissfft/kissfft.hh PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(MAKE_DIRECTORY ${DEMO_WEB_INCLUDE})
file(CREATE_LINK ${STB_HOST_DIR}/stb ${DEMO_WEB_INCLUDE}/stb SYMBOLIC)
file(CREATE_LINK ${KISSFFT_HOST_DIR}/kissfft ${DEMO_WEB_INCLUDE}/kissfft SYMBOLIC)

# Files of the stand-ins that only Linux has; their *_web.cpp neighbours stand in.
set(demo_linux_only
  platform/win32/sdl_backend.cpp platform/win32/control_painter.cpp
  platform/d3d9/gl_context.cpp platform/d3dx9/hlsl_translator.cpp
  platform/fmod/fmod_mp3.cpp platform/fmod/fmod_output.cpp)

set(demo_web_sources)
foreach(folder IN ITEMS shell render resources timeline scene sound effects
                        platform/win32 platform/d3d9 platform/d3dx9 platform/fmod run/web)
  file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(APPEND demo_web_sources ${found})
endforeach()
foreach(skip IN LISTS demo_linux_only)
  list(REMOVE_ITEM demo_web_sources ${CMAKE_SOURCE_DIR}/${skip})
endforeach()
# Shared with Linux: the command line (the page hands its query over as
# arguments), answering the dialog and the lead-in before --start.
list(APPEND demo_web_sources ${CMAKE_SOURCE_DIR}/run/options.cpp ${CMAKE_SOURCE_DIR}/run/run_start.cpp)

add_executable(demo ${demo_web_sources})
# Compiled in batches as on Linux; each effect names its registers and cues
# file-locally and compiles alone.
set_target_properties(demo PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8 RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/site)
file(GLOB effect_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/effects/*_effect.cpp)
set_source_files_properties(${effect_sources} ${CMAKE_SOURCE_DIR}/platform/d3d9/names.cpp
  PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
target_include_directories(demo PRIVATE ${CMAKE_SOURCE_DIR} ${DEMO_WEB_INCLUDE} ${DEMO_WEB_INCLUDE}/stb)
target_compile_options(demo PRIVATE -Wall -Wextra -Werror)
# ASYNCIFY lets the frame loop, the dialog's message loop and the music's
# decoding wait for the browser without returning from main: the page gets
# control back at every Present (the next animation frame), while a message
# loop waits, and during long loading work.
target_link_options(demo PRIVATE
  -sUSE_WEBGL2=1 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sFULL_ES3=0
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536 "-sASYNCIFY_IMPORTS=[\"WaitForAnimationFrame\",\"PageDecodeAudio\"]"
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=268435456
  -sEXIT_RUNTIME=1 -sENVIRONMENT=web
  -sEXPORTED_FUNCTIONS=_main,_demo_panel_run,_demo_panel_exit
  -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency
  -sFORCE_FILESYSTEM=1)
add_custom_command(TARGET demo POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/run/web/index.html ${CMAKE_BINARY_DIR}/site/index.html)
