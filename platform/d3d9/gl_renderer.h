// The OpenGL side of a device. It owns the GL context and every GL object
// behind the device's resources, and turns the device's dirty state into GL
// calls at each draw and clear.
//
// Conventions that keep Direct3D's picture:
// - every render target, the back buffer included, stores its top row first:
//   the vertex prelude flips y for every target, so texture coordinate (0, 0)
//   is the top left of pictures and targets alike and the same shader code
//   samples both; with y flipped, D3DCULL_CCW maps to culling GL back faces
//   (front face GL_CCW);
// - depth runs 0..1 (glClipControl, or remapped by the prelude);
// - vertex shader constants, pixel shader constants and device values (clip
//   planes, alpha test) live in three uniform buffers shared by all programs;
// - each sampler stage has a GL sampler object holding its sampler states;
// - framebuffer objects are made once per combination of targets and kept;
// - a program is linked once per vertex/pixel shader pair and kept.
//
// On an OpenGL ES 3.0 context (--gles, and every web page) the renderer keeps
// to what WebGL 2 has. The entry points it may call there, and the only ones a
// web side has to provide:
//   glActiveTexture glAttachShader glBindAttribLocation glBindBuffer
//   glBindBufferBase glBindFramebuffer glBindRenderbuffer glBindSampler
//   glBindTexture glBindVertexArray glBlendColor glBlendEquationSeparate
//   glBlendFuncSeparate glBlitFramebuffer glBufferData glBufferSubData
//   glCheckFramebufferStatus glClear glClearColor glClearDepthf glClearStencil
//   glColorMask glCompileShader glCompressedTexImage2D
//   glCompressedTexSubImage2D glCreateProgram glCreateShader glCullFace
//   glDeleteBuffers glDeleteFramebuffers glDeleteProgram glDeleteRenderbuffers
//   glDeleteSamplers glDeleteShader glDeleteTextures glDeleteVertexArrays
//   glDepthFunc glDepthMask glDepthRangef glDisable
//   glDisableVertexAttribArray glDrawArrays glDrawBuffers glDrawElements
//   glEnable glEnableVertexAttribArray glFramebufferRenderbuffer
//   glFramebufferTexture2D glFrontFace glGenBuffers glGenFramebuffers
//   glGenRenderbuffers glGenSamplers glGenTextures glGenVertexArrays
//   glGenerateMipmap glGetError glGetFloatv glGetIntegerv glGetProgramInfoLog
//   glGetProgramiv glGetShaderInfoLog glGetShaderiv glGetString
//   glGetUniformBlockIndex glGetUniformLocation glLinkProgram glPixelStorei
//   glPolygonOffset glReadBuffer glReadPixels (GL_RGBA, GL_UNSIGNED_BYTE)
//   glRenderbufferStorage glSamplerParameterf glSamplerParameteri glScissor
//   glShaderSource glStencilFunc glStencilMask glStencilOp glTexImage2D
//   glTexParameteri glTexStorage2D glTexSubImage2D glUniform1i
//   glUniformBlockBinding glUseProgram glVertexAttribPointer glViewport
// and S3TC textures and anisotropic filtering only where the context offers
// their extensions. What desktop OpenGL has beyond that is done another way:
// - no texture swizzles and no BGRA client formats: textures in D3DCOLOR byte
//   order, luminance and the like are RGBA8, converted on upload and read-back
//   (formats.h); D3DCOLOR vertex elements of DrawPrimitiveUP data are swapped
//   to R, G, B, A bytes as they are copied (vertex buffers holding D3DCOLOR
//   elements keep their order: nothing draws with such buffers);
// - no glGetTexImage: a texture level is read through a framebuffer
//   (compressed levels not at all);
// - no gl_ClipDistance: clip distances travel to the pixel stage, which
//   discards what a plane clips (the GLSL ES prelude);
// - no glClipControl: the vertex prelude remaps depth to -1..1;
// - no glDrawElementsBaseVertex: the attribute pointers start at the base vertex;
// - no glPolygonMode: every fill mode draws solid;
// - no glColorMaski: render target 1 takes target 0's write mask;
// - no GL_CLAMP_TO_BORDER, border colour or GL_TEXTURE_LOD_BIAS: border
//   addressing clamps to the edge, the level-of-detail bias is 0.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/d3d9/device.h"
#include "platform/d3d9/gl_context.h"
#include "platform/d3d9/pass_timer.h"
#include "platform/d3d9/shader_code.h"

namespace d3d9 {

class BufferData;

class GLRenderer {
public:
    static std::unique_ptr<GLRenderer> Create(Device& device, SDL_Window* window, std::string* error);
    ~GLRenderer();
    GLRenderer(const GLRenderer&) = delete;
    GLRenderer& operator=(const GLRenderer&) = delete;

    const GLFeatures& Features() const { return context->Features(); }
    void MakeCurrent() { context->MakeCurrent(); }

    // Resources.
    // False when the storage cannot be allocated or, for a render target, its
    // framebuffer is incomplete; the GL texture is then deleted again.
    bool CreateTexture(TextureData& texture);
    void DestroyTexture(TextureData& texture);
    void UploadLevel(TextureData& texture, UINT face, UINT level, const uint8_t* pixels);
    void ReadLevel(TextureData& texture, UINT face, UINT level, uint8_t* pixels);
    // Memory for a locked level: the buffer of an earlier lock when one is
    // kept, so that loading one texture after another does not map and fault
    // in fresh pages for each level. Unlock hands it back.
    std::vector<uint8_t> TakeStaging() { return std::move(staging); }
    void KeepStaging(std::vector<uint8_t>&& buffer) {
        if (buffer.capacity() > staging.capacity() && buffer.capacity() <= kMaxStagingBytes) staging.swap(buffer);
    }
    void GenerateMips(TextureData& texture);
    void CreateDepthSurface(Surface& surface);
    void DestroySurface(Surface& surface);
    void CreateBuffer(BufferData& buffer);
    void UploadBuffer(BufferData& buffer, UINT offset, UINT size);
    void DestroyBuffer(BufferData& buffer);
    bool CompileShader(ShaderStage stage, const std::string& text, uint32_t* name, std::string* log);
    void DestroyShader(uint32_t name, const void* shader);

    // Frame.
    void Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);
    void DrawArrays(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount);
    void DrawIndexed(D3DPRIMITIVETYPE type, INT baseVertex, UINT startIndex, UINT indexCount);
    void DrawUser(D3DPRIMITIVETYPE type, UINT vertexCount, const void* data, UINT stride);
    void Present(UINT interval);
    // Rasterization off while the device compiles only; switched with the
    // mode itself, since a clear is dropped as well while it is off.
    void SetRasterizerDiscard(bool on);
    bool ReadPresented(std::vector<uint8_t>* rgba, int* width, int* height);
    PassTimer& Timer() { return timer; }

private:
    static constexpr size_t kMaxStagingBytes = size_t{1024} * 1024 * 4;  // a 1024 x 1024 RGBA level
    std::vector<uint8_t> staging;
    std::vector<uint8_t> converted;  // OpenGL ES: texels or vertices in the order the GL takes
    struct Program {
        uint32_t name = 0;
        bool linked = false;
    };
    using TargetKey = std::tuple<const Surface*, const Surface*, const Surface*>;

    GLRenderer(Device& device, std::unique_ptr<GLContext> context);
    bool Init(std::string* error);
    bool PrepareDraw();
    void ApplyTargets();
    void ApplyViewport();
    void ApplyRenderStates();
    void ApplySamplers();
    void ApplyTextures();
    void ApplyConstants();
    bool ApplyProgram();
    // The pixel shader's variant with the alpha test, compiled at its first use (0 if it fails).
    uint32_t AlphaTestVariant(PixelShader& shader);
    // `baseVertex` moves the attribute pointers (OpenGL ES has no base vertex in its draws).
    void ApplyVertexInput(uint32_t userBuffer, UINT userStride, INT baseVertex = 0);
    // Tells the pass timer what the coming draw (or, without shaders, clear) is.
    void MarkPass(bool clear);
    // Whether vertices first .. first + count - 1 lie inside the bound streams
    // (or, for user data, whether every element fits in the stride).
    bool VerticesFit(int64_t first, int64_t count, UINT userStride) const;
    uint32_t BindBuffer(const BufferData& buffer);
    // OpenGL ES: user vertex data with its D3DCOLOR elements in R, G, B, A byte order.
    const void* SwapColours(const void* data, UINT vertexCount, UINT stride);
    void AttachSurface(uint32_t attachment, const Surface* surface);
    uint32_t FramebufferFor(const Surface* color0, const Surface* color1, const Surface* depth);

    Device& device;
    std::unique_ptr<GLContext> context;
    uint32_t vertexArray = 0;
    uint32_t uniformBuffers[3] = {};  // vertex constants, pixel constants, device values
    uint32_t samplers[D3D_MAX_SAMPLERS] = {};
    uint32_t userVertexBuffer = 0;
    uint32_t presentedTexture = 0;
    uint32_t presentedFramebuffer = 0;
    int presentedWidth = 0;
    int presentedHeight = 0;
    bool presented = false;
    std::map<TargetKey, uint32_t> framebuffers;
    // Vertex shader, pixel shader, whether the pixel stage is its alpha-test variant.
    std::map<std::tuple<const void*, const void*, bool>, Program> programs;
    uint32_t boundTargets[D3D_MAX_SAMPLERS] = {};  // GL target bound on each unit, 0 for none
    uint32_t enabledAttributes = 0;
    INT attributesBaseVertex = 0;  // OpenGL ES: the base vertex the attribute pointers start at
    uint32_t currentProgram = 0;
    int swapInterval = -1;
    bool rasterizerDiscard = false;  // GL_RASTERIZER_DISCARD, on while the device compiles only
    PassTimer timer;
};

}  // namespace d3d9
