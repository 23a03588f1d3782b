// An OpenGL 3.3 core context, or an OpenGL ES 3.0 one where D3D9_SetGLApi
// asks for it: on an SDL window, or headless through EGL (Mesa's surfaceless
// platform first, then the default display, then the first EGL device).
// Headless contexts have no default framebuffer worth drawing to; everything
// renders into framebuffer objects.
//
// Several contexts may exist (one per device, plus a hidden one for shader
// checks); MakeCurrent is cheap when the context already is current.
#pragma once

#include <memory>
#include <string>

#include "platform/d3d9/shader_code.h"

struct SDL_Window;

namespace d3d9 {

// The dialect of the API chosen with D3D9_SetGLApi.
GlslDialect ProcessDialect();

struct GLFeatures {
    bool es = false;           // OpenGL ES: the renderer keeps to the WebGL 2 subset (gl_renderer.h)
    bool clipControl = false;  // glClipControl: depth 0..1 without remapping in shaders
    bool s3tc = false;
    bool textureStorage = false;  // glTexStorage2D: every level allocated at once
    bool anisotropy = false;
    float maxAnisotropy = 1.0f;
    bool mirrorClamp = false;
    bool timerQueries = false;                   // GL_TIME_ELAPSED queries
    bool binningRasterizer = false;              // Mesa's llvmpipe: a target's draws run tile by tile
    int maxTextureSize = 0;                      // GL_MAX_TEXTURE_SIZE
    GlslDialect glsl = GlslDialect::Desktop330;  // the shading language it compiles
};

class GLContext {
public:
    // The dialect picks the API: GLSL ES 3.00 comes with an OpenGL ES 3.0 context.
    static std::unique_ptr<GLContext> CreateHeadless(std::string* error, GlslDialect glsl = ProcessDialect());
    static std::unique_ptr<GLContext> CreateForWindow(SDL_Window* window, std::string* error);
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    void MakeCurrent();
    bool HasWindow() const { return window != nullptr; }
    void SwapBuffers();
    void SetSwapInterval(int interval);
    void DrawableSize(int* width, int* height) const;
    const GLFeatures& Features() const { return features; }

    // The most recently made context of a live device, or null.
    static GLContext* AnyDeviceContext();
    // A headless context of its own for compiling shaders when no device has
    // one; null when none can be made.
    static GLContext* Hidden();
    void MarkDeviceContext(bool isDevice);

private:
    GLContext() = default;
    void ReadFeatures();

    SDL_Window* window = nullptr;
    void* sdlContext = nullptr;
    void* eglDisplay = nullptr;
    void* eglContext = nullptr;
    void* eglSurface = nullptr;
    bool deviceContext = false;
    GLFeatures features;
};

// Compiles a stage's text on the current context, with the prelude of that
// context's `features` (BuildGlsl): the GL shader name, or 0 with the log.
uint32_t CompileGlsl(ShaderStage stage, const std::string& text, const GLFeatures& features, std::string* log,
                     bool alphaTest = false);

}  // namespace d3d9
