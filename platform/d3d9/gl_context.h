// An OpenGL 3.3 core context: on an SDL window, or headless through EGL
// (Mesa's surfaceless platform first, then the default display, then the
// first EGL device). Headless contexts have no default framebuffer worth
// drawing to; everything renders into framebuffer objects.
//
// Several contexts may exist (one per device, plus a hidden one for shader
// checks); MakeCurrent is cheap when the context already is current.
#pragma once

#include <memory>
#include <string>

struct SDL_Window;

namespace d3d9 {

struct GLFeatures {
    bool clipControl = false;  // glClipControl: depth 0..1 without remapping in shaders
    bool s3tc = false;
    bool anisotropy = false;
    float maxAnisotropy = 1.0f;
    bool mirrorClamp = false;
};

class GLContext {
public:
    static std::unique_ptr<GLContext> CreateHeadless(std::string* error);
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

}  // namespace d3d9
