// The OpenGL context in a web page: the page's WebGL 2 context on its canvas
// ("#canvas"), made once and shared by every context object (a device's, a
// shader check's, a size probe's), never destroyed. It is OpenGL ES 3.0 as far
// as WebGL 2 goes; the renderer keeps to that subset (gl_renderer.h).
//
// SwapBuffers is where the page gets control back: the demo's frame loop runs
// as written, and at each Present it yields to the browser until the next
// animation frame (ASYNCIFY), which shows the canvas and runs the page's
// events, timers and sound.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/d3d9/gl_api.h"
#include "platform/d3d9/gl_context.h"

namespace d3d9 {
namespace {

GLContext* g_current = nullptr;
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE g_webgl = 0;
bool g_tried = false;

// clang-format off
EM_JS(void, WaitForAnimationFrame, (), {
    Asyncify.handleSleep(function(wakeUp) { requestAnimationFrame(function() { wakeUp(); }); });
});
// clang-format on

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE PageContext(std::string* error) {
    if (!g_tried) {
        g_tried = true;
        EmscriptenWebGLContextAttributes attributes;
        emscripten_webgl_init_context_attributes(&attributes);
        attributes.majorVersion = 2;
        attributes.minorVersion = 0;
        attributes.alpha = false;
        attributes.depth = false;  // everything draws into framebuffer objects
        attributes.stencil = false;
        attributes.antialias = false;  // the back buffer is blitted onto the canvas
        attributes.preserveDrawingBuffer = false;
        attributes.enableExtensionsByDefault = true;
        g_webgl = emscripten_webgl_create_context("#canvas", &attributes);
    }
    if (g_webgl <= 0) *error = "this browser has no WebGL 2";
    return g_webgl;
}

bool HasExtension(const char* name) {
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!list) return false;
    size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + 1, name))
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    return false;
}

}  // namespace

GlslDialect ProcessDialect() { return GlslDialect::Es300; }

std::unique_ptr<GLContext> GLContext::CreateHeadless(std::string* error, GlslDialect) {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl = PageContext(error);
    if (webgl <= 0) return nullptr;
    std::unique_ptr<GLContext> context(new GLContext());
    context->onScreen = true;
    context->eglContext = reinterpret_cast<void*>(static_cast<intptr_t>(webgl));
    emscripten_webgl_make_context_current(webgl);
    g_current = context.get();
    context->ReadFeatures();
    return context;
}

std::unique_ptr<GLContext> GLContext::CreateForWindow(SDL_Window*, std::string* error) {
    return CreateHeadless(error, GlslDialect::Es300);
}

GLContext::~GLContext() {
    MarkDeviceContext(false);
    if (g_current == this) g_current = nullptr;
}

void GLContext::MakeCurrent() { g_current = this; }

void GLContext::SwapBuffers() { WaitForAnimationFrame(); }

void GLContext::SetSwapInterval(int) {}

void GLContext::DrawableSize(int* width, int* height) const {
    *width = *height = 0;
    emscripten_webgl_get_drawing_buffer_size(g_webgl, width, height);
}

void GLContext::ReadFeatures() {
    features.version = 30;
    features.es = true;
    features.clipControl = false;
    features.mirrorClamp = false;
    features.textureStorage = true;
    features.s3tc = HasExtension("GL_WEBGL_compressed_texture_s3tc") ||
                    HasExtension("GL_EXT_texture_compression_s3tc") ||
                    emscripten_webgl_enable_extension(g_webgl, "WEBGL_compressed_texture_s3tc");
    features.anisotropy = emscripten_webgl_enable_extension(g_webgl, "EXT_texture_filter_anisotropic");
    if (features.anisotropy) glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &features.maxAnisotropy);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &features.maxTextureSize);
    features.glsl = GlslDialect::Es300;
}

GLContext* GLContext::Hidden() {
    static GLContext* hidden = nullptr;
    if (!hidden) {
        std::string error;
        hidden = CreateHeadless(&error).release();
    }
    return hidden;
}

}  // namespace d3d9

void D3D9_SetGLApi(D3D9GLApi) {}
D3D9GLApi D3D9_GetGLApi() { return D3D9GLApi::Es3; }
