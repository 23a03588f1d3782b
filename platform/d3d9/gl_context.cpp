#include "platform/d3d9/gl_context.h"

#include "platform/d3d9/d3d9_platform.h"

#include <SDL.h>
#include <epoxy/egl.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace d3d9 {
namespace {

GLContext* g_current = nullptr;
D3D9GLApi g_api = D3D9GLApi::Desktop;
std::vector<GLContext*> g_deviceContexts;

bool HasExtension(const char* list, const char* name) {
    if (!list) return false;
    size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + 1, name))
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) return true;
    return false;
}

bool TryInitialize(EGLDisplay display) {
    EGLint major = 0, minor = 0;
    return display != EGL_NO_DISPLAY && eglInitialize(display, &major, &minor);
}

// One EGL display for the process: surfaceless first, then the default
// display, then the first device.
EGLDisplay HeadlessDisplay(std::string* error) {
    static EGLDisplay display = EGL_NO_DISPLAY;
    static bool tried = false;
    if (tried) {
        if (display == EGL_NO_DISPLAY) *error = "no EGL display";
        return display;
    }
    tried = true;
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    bool platformBase = HasExtension(client, "EGL_EXT_platform_base");
    if (platformBase && HasExtension(client, "EGL_MESA_platform_surfaceless")) {
        EGLDisplay candidate = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (TryInitialize(candidate)) return display = candidate;
    }
    EGLDisplay candidate = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (TryInitialize(candidate)) return display = candidate;
    if (platformBase && HasExtension(client, "EGL_EXT_platform_device") &&
        HasExtension(client, "EGL_EXT_device_enumeration")) {
        EGLDeviceEXT devices[8];
        EGLint count = 0;
        if (eglQueryDevicesEXT(8, devices, &count))
            for (EGLint i = 0; i < count; ++i) {
                candidate = eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
                if (TryInitialize(candidate)) return display = candidate;
            }
    }
    *error = "no EGL display could be initialised";
    return EGL_NO_DISPLAY;
}

}  // namespace

GlslDialect ProcessDialect() { return g_api == D3D9GLApi::Es3 ? GlslDialect::Es300 : GlslDialect::Desktop330; }

std::unique_ptr<GLContext> GLContext::CreateHeadless(std::string* error, GlslDialect glsl) {
    EGLDisplay display = HeadlessDisplay(error);
    if (display == EGL_NO_DISPLAY) return nullptr;
    bool es = glsl == GlslDialect::Es300;
    if (!eglBindAPI(es ? EGL_OPENGL_ES_API : EGL_OPENGL_API)) {
        *error = es ? "EGL has no OpenGL ES" : "EGL has no desktop OpenGL";
        return nullptr;
    }
    bool surfaceless = HasExtension(eglQueryString(display, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context");
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, surfaceless ? 0 : EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                       es ? EGL_OPENGL_ES3_BIT : EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configs) || configs < 1) {
        *error = es ? "no EGL configuration for OpenGL ES 3" : "no EGL configuration for OpenGL";
        return nullptr;
    }
    const EGLint desktopAttributes[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    const EGLint esAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 0, EGL_NONE};
    EGLContext eglContext = eglCreateContext(display, config, EGL_NO_CONTEXT, es ? esAttributes : desktopAttributes);
    if (eglContext == EGL_NO_CONTEXT) {
        *error = es ? "no OpenGL ES 3.0 context from EGL" : "no OpenGL 3.3 core context from EGL";
        return nullptr;
    }
    EGLSurface surface = EGL_NO_SURFACE;
    if (!surfaceless) {
        const EGLint pbufferAttributes[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        surface = eglCreatePbufferSurface(display, config, pbufferAttributes);
        if (surface == EGL_NO_SURFACE) {
            eglDestroyContext(display, eglContext);
            *error = "no EGL pbuffer";
            return nullptr;
        }
    }
    std::unique_ptr<GLContext> context(new GLContext());
    context->eglDisplay = display;
    context->eglContext = eglContext;
    context->eglSurface = surface;
    if (!eglMakeCurrent(display, surface, surface, eglContext)) {
        *error = "EGL context cannot be made current";
        return nullptr;
    }
    g_current = context.get();
    context->ReadFeatures();
    context->features.glsl = glsl;
    return context;
}

std::unique_ptr<GLContext> GLContext::CreateForWindow(SDL_Window* window, std::string* error) {
    const bool es = g_api == D3D9GLApi::Es3;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, es ? 0 : 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, es ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GLContext sdlContext = SDL_GL_CreateContext(window);
    if (!sdlContext) {
        *error = std::string("SDL cannot make an OpenGL context: ") + SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<GLContext> context(new GLContext());
    context->window = window;
    context->sdlContext = sdlContext;
    g_current = context.get();
    context->ReadFeatures();
    context->features.glsl = ProcessDialect();
    return context;
}

GLContext::~GLContext() {
    MarkDeviceContext(false);
    if (g_current == this) g_current = nullptr;
    if (sdlContext) {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(sdlContext));
    } else if (eglContext) {
        if (eglGetCurrentContext() == eglContext)
            eglMakeCurrent(eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (eglSurface) eglDestroySurface(eglDisplay, eglSurface);
        eglDestroyContext(eglDisplay, eglContext);
    }
}

void GLContext::MakeCurrent() {
    if (g_current == this) return;
    if (sdlContext)
        SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(sdlContext));
    else
        eglMakeCurrent(eglDisplay, eglSurface, eglSurface, eglContext);
    g_current = this;
}

void GLContext::SwapBuffers() {
    if (window) SDL_GL_SwapWindow(window);
}

void GLContext::SetSwapInterval(int interval) {
    if (window) SDL_GL_SetSwapInterval(interval);
}

void GLContext::DrawableSize(int* width, int* height) const {
    *width = *height = 0;
    if (window) SDL_GL_GetDrawableSize(window, width, height);
}

void GLContext::ReadFeatures() {
    int version = epoxy_gl_version();
    features.es = !epoxy_is_desktop_gl();
    features.clipControl = !features.es && (version >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control"));
    features.s3tc = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");
    features.textureStorage =
        version >= (epoxy_is_desktop_gl() ? 42 : 30) || epoxy_has_gl_extension("GL_ARB_texture_storage");
    features.anisotropy = version >= 46 || epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
                          epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic");
    if (features.anisotropy) glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &features.maxAnisotropy);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &features.maxTextureSize);
    features.mirrorClamp =
        !features.es && (version >= 44 || epoxy_has_gl_extension("GL_ARB_texture_mirror_clamp_to_edge") ||
                         epoxy_has_gl_extension("GL_EXT_texture_mirror_clamp"));
    features.timerQueries = (epoxy_is_desktop_gl() && version >= 33) || epoxy_has_gl_extension("GL_ARB_timer_query");
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    features.binningRasterizer = renderer && std::strstr(renderer, "llvmpipe");
}

void GLContext::MarkDeviceContext(bool isDevice) {
    auto found = std::find(g_deviceContexts.begin(), g_deviceContexts.end(), this);
    if (found != g_deviceContexts.end()) g_deviceContexts.erase(found);
    if (isDevice) g_deviceContexts.push_back(this);
    deviceContext = isDevice;
}

GLContext* GLContext::AnyDeviceContext() { return g_deviceContexts.empty() ? nullptr : g_deviceContexts.back(); }

GLContext* GLContext::Hidden() {
    // Kept for the life of the process, never torn down during exit.
    static GLContext* hidden = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        std::string error;
        hidden = CreateHeadless(&error).release();
    }
    return hidden;
}

}  // namespace d3d9

void D3D9_SetGLApi(D3D9GLApi api) { d3d9::g_api = api; }
D3D9GLApi D3D9_GetGLApi() { return d3d9::g_api; }
