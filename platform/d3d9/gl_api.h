// Where the renderer's OpenGL entry points come from: libepoxy on Linux
// (desktop OpenGL 3.3 core or OpenGL ES 3.0), emscripten's OpenGL ES 3 headers
// in a web page (WebGL 2). A web page has only the WebGL 2 subset listed in
// gl_renderer.h; the names that desktop OpenGL alone has are defined here so
// that the desktop branches compile, and abort if ever reached
// (glTexParameteriv and glSamplerParameterfv exist in both, for other uses).
#pragma once

#ifndef __EMSCRIPTEN__
#include <epoxy/gl.h>
#else
#include <GLES3/gl3.h>
#include <GLES2/gl2ext.h>

#include <cstdio>
#include <cstdlib>

namespace d3d9 {
[[noreturn]] inline void DesktopOpenGLOnly(const char* name) {
    std::fprintf(stderr, "d3d9: %s is not in WebGL 2\n", name);
    std::abort();
}
}  // namespace d3d9

#define GL_BGRA 0x80E1
#define GL_BGR 0x80E0
#define GL_UNSIGNED_SHORT_1_5_5_5_REV 0x8366
#define GL_UNSIGNED_SHORT_4_4_4_4_REV 0x8365
#define GL_DEPTH_COMPONENT32 0x81A7
#define GL_CLAMP_TO_BORDER 0x812D
#define GL_TEXTURE_BORDER_COLOR 0x1004
#define GL_TEXTURE_LOD_BIAS 0x8501
#define GL_MIRROR_CLAMP_TO_EDGE 0x8743
#define GL_TEXTURE_SWIZZLE_RGBA 0x8E46
#define GL_CLIP_DISTANCE0 0x3000
#define GL_POINT 0x1B00
#define GL_LINE 0x1B01
#define GL_FILL 0x1B02
#define GL_LOWER_LEFT 0x8CA1
#define GL_TIME_ELAPSED 0x88BF
#define GL_ZERO_TO_ONE 0x935F
#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#define GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT 0x84FF
#endif
// Desktop-only entry points: never called on WebGL 2 (gl_renderer.h).
template <class... Arguments>
inline void glGetTexImage(Arguments...) {
    d3d9::DesktopOpenGLOnly("glGetTexImage");
}
template <class... Arguments>
inline void glGetCompressedTexImage(Arguments...) {
    d3d9::DesktopOpenGLOnly("glGetCompressedTexImage");
}
template <class... Arguments>
inline void glPolygonMode(Arguments...) {
    d3d9::DesktopOpenGLOnly("glPolygonMode");
}
template <class... Arguments>
inline void glColorMaski(Arguments...) {
    d3d9::DesktopOpenGLOnly("glColorMaski");
}
template <class... Arguments>
inline void glClipControl(Arguments...) {
    d3d9::DesktopOpenGLOnly("glClipControl");
}
template <class... Arguments>
inline void glDrawElementsBaseVertex(Arguments...) {
    d3d9::DesktopOpenGLOnly("glDrawElementsBaseVertex");
}
template <class... Arguments>
inline void glClearDepth(Arguments...) {
    d3d9::DesktopOpenGLOnly("glClearDepth");
}
template <class... Arguments>
inline void glDepthRange(Arguments...) {
    d3d9::DesktopOpenGLOnly("glDepthRange");
}
// The pass timer's (timing tools only, never switched on in a page).
template <class... Arguments>
inline void glGetQueryObjectui64v(Arguments...) {
    d3d9::DesktopOpenGLOnly("glGetQueryObjectui64v");
}
#endif
