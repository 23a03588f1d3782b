// GL renderer: the GL objects behind textures, surfaces, buffers and shaders,
// and the shader check used by the compiler stand-in.
#include "platform/d3d9/gl_api.h"

#include <cstring>
#include <vector>

#include "platform/d3d9/buffer.h"
#include "platform/d3d9/gl_renderer.h"
#include "platform/d3d9/shader.h"
#include "platform/d3d9/texture.h"

namespace d3d9 {
namespace {

// Texture unit used for uploads, never one a sampler stage uses.
constexpr GLenum kScratchUnit = GL_TEXTURE0 + D3D_MAX_SAMPLERS;

GLenum BindTarget(const TextureData& texture) { return texture.IsCube() ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D; }

GLenum FaceTarget(const TextureData& texture, UINT face) {
    return texture.IsCube() ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + face : GL_TEXTURE_2D;
}

void BindForUpload(const TextureData& texture) {
    glActiveTexture(kScratchUnit);
    glBindTexture(BindTarget(texture), texture.glName);
}

// Desktop OpenGL: texel words in D3DCOLOR's byte order (B, G, R, A in
// memory) of a texture that is only sampled are stored as they come, in an
// RGBA texture whose sampling swaps red and blue back: the driver copies such
// uploads instead of converting them. Render targets keep the BGRA order,
// which drawing writes.
bool StoredAsBytes(const TextureData& texture, bool es) {
    const FormatInfo& format = texture.Format();
    return !es && !texture.IsRenderTarget() && format.glFormat == GL_BGRA && format.glType == GL_UNSIGNED_BYTE;
}

// OpenGL ES keeps such formats as RGBA8, converted on the processor (formats.h).
bool Rgba8OnEs(const TextureData& texture, bool es) { return es && StoredAsRgba8OnEs(texture.Format()); }

GLenum PixelFormat(const TextureData& texture, bool es) {
    return StoredAsBytes(texture, es) || Rgba8OnEs(texture, es) ? GL_RGBA : texture.Format().glFormat;
}
GLenum PixelType(const TextureData& texture, bool es) {
    return Rgba8OnEs(texture, es) ? GL_UNSIGNED_BYTE : texture.Format().glType;
}
GLenum InternalFormat(const TextureData& texture, bool es) {
    return Rgba8OnEs(texture, es) ? GL_RGBA8 : texture.Format().glInternal;
}

size_t Texels(const TextureData& texture, UINT level) { return size_t(texture.Width(level)) * texture.Height(level); }

GLsizei LevelBytes(const TextureData& texture, UINT level) {
    const FormatInfo& format = texture.Format();
    return GLsizei(RowPitch(format, texture.Width(level)) * RowCount(format, texture.Height(level)));
}

}  // namespace

uint32_t CompileGlsl(ShaderStage stage, const std::string& text, const GLFeatures& features, std::string* log,
                     bool alphaTest) {
    std::string glsl = BuildGlsl(stage, text, !features.clipControl, features.glsl, alphaTest);
    GLuint shader = glCreateShader(stage == ShaderStage::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const char* source = glsl.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) return shader;
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string info(size_t(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, GLsizei(info.size()), nullptr, info.data());
    info.resize(std::strlen(info.c_str()));
    *log = info.empty() ? "the shader does not compile" : info;
    glDeleteShader(shader);
    return 0;
}

bool GLRenderer::CreateTexture(TextureData& texture) {
    MakeCurrent();
    for (int stale = 0; stale < 8 && glGetError() != GL_NO_ERROR; ++stale) {
    }  // errors of earlier calls are not this texture's
    const FormatInfo& format = texture.Format();
    const bool es = Features().es;
    glGenTextures(1, &texture.glName);
    BindForUpload(texture);
    GLenum target = BindTarget(texture);
    if (Features().textureStorage && !texture.IsRenderTarget()) {
        // The whole chain at once, of exactly the levels asked for. Given
        // level by level, the driver sizes its storage from a guess at the
        // first level, and llvmpipe holds some 15 MB more for this content.
        // Render targets are given by level: llvmpipe reports a render target
        // too large to allocate only there.
        glTexStorage2D(target, GLsizei(texture.Levels()), InternalFormat(texture, es), GLsizei(texture.Width(0)),
                       GLsizei(texture.Height(0)));
    } else {
        for (UINT face = 0; face < texture.Faces(); ++face)
            for (UINT level = 0; level < texture.Levels(); ++level) {
                GLsizei w = GLsizei(texture.Width(level)), h = GLsizei(texture.Height(level));
                if (format.compressed) {
                    std::vector<uint8_t> zeros(size_t(LevelBytes(texture, level)), 0);
                    glCompressedTexImage2D(FaceTarget(texture, face), GLint(level), format.glInternal, w, h, 0,
                                           LevelBytes(texture, level), zeros.data());
                } else {
                    glTexImage2D(FaceTarget(texture, face), GLint(level), GLint(InternalFormat(texture, es)), w, h, 0,
                                 PixelFormat(texture, es), PixelType(texture, es), nullptr);
                }
            }
    }
    glTexParameteri(target, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(target, GL_TEXTURE_MAX_LEVEL, GLint(texture.Levels() - 1));
    if (!es) {
        GLint swizzle[4];
        for (int i = 0; i < 4; ++i) {
            swizzle[i] = format.swizzle[i];
            if (StoredAsBytes(texture, es) && (swizzle[i] == GL_RED || swizzle[i] == GL_BLUE))
                swizzle[i] = swizzle[i] == GL_RED ? GL_BLUE : GL_RED;
        }
        glTexParameteriv(target, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    }
    bool complete = glGetError() == GL_NO_ERROR;
    if (complete && texture.IsRenderTarget()) {
        // Each face's top level must make a complete framebuffer to be drawn to.
        GLuint framebuffer = 0;
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        // A new target starts transparent black, whatever memory the driver
        // gives it, so that a pass reading it before anything was drawn there
        // reads the same in every run.
        glDisable(GL_SCISSOR_TEST);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        for (UINT face = 0; complete && face < texture.Faces(); ++face) {
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, FaceTarget(texture, face), texture.glName, 0);
            complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
            if (complete) glClear(GL_COLOR_BUFFER_BIT);
        }
        glDeleteFramebuffers(1, &framebuffer);
        device.dirty.targets = true;
        device.dirty.renderGroups |= kGroupColorWrite | kGroupScissor;
        complete = complete && glGetError() == GL_NO_ERROR;
    }
    if (!complete) {
        glDeleteTextures(1, &texture.glName);
        for (GLuint& bound : boundTargets) bound = 0;
        device.dirty.textures = ~0u;
        texture.glName = 0;
    }
    return complete;
}

void GLRenderer::DestroyTexture(TextureData& texture) {
    MakeCurrent();
    glDeleteTextures(1, &texture.glName);
    for (GLuint& bound : boundTargets) bound = 0;
    device.dirty.textures = ~0u;
    texture.glName = 0;
}

void GLRenderer::UploadLevel(TextureData& texture, UINT face, UINT level, const uint8_t* pixels) {
    MakeCurrent();
    BindForUpload(texture);
    const FormatInfo& format = texture.Format();
    const bool es = Features().es;
    GLsizei w = GLsizei(texture.Width(level)), h = GLsizei(texture.Height(level));
    if (Rgba8OnEs(texture, es)) {
        converted.resize(Texels(texture, level) * 4);
        ToRgba8(format, pixels, Texels(texture, level), converted.data());
        pixels = converted.data();
    }
    if (format.compressed)
        glCompressedTexSubImage2D(FaceTarget(texture, face), GLint(level), 0, 0, w, h, format.glInternal,
                                  LevelBytes(texture, level), pixels);
    else
        glTexSubImage2D(FaceTarget(texture, face), GLint(level), 0, 0, w, h, PixelFormat(texture, es),
                        PixelType(texture, es), pixels);
}

void GLRenderer::ReadLevel(TextureData& texture, UINT face, UINT level, uint8_t* pixels) {
    MakeCurrent();
    const FormatInfo& format = texture.Format();
    const bool es = Features().es;
    GLsizei w = GLsizei(texture.Width(level)), h = GLsizei(texture.Height(level));
    if (!es) {
        if (texture.IsRenderTarget()) {
            FramebufferFor(texture.SurfaceAt(face, level), nullptr, nullptr);
            glReadPixels(0, 0, w, h, format.glFormat, format.glType, pixels);
            device.dirty.targets = true;
            return;
        }
        BindForUpload(texture);
        if (format.compressed)
            glGetCompressedTexImage(FaceTarget(texture, face), GLint(level), pixels);
        else
            glGetTexImage(FaceTarget(texture, face), GLint(level), PixelFormat(texture, es), format.glType, pixels);
        return;
    }
    // OpenGL ES reads textures only through a framebuffer, and compressed
    // ones not at all: their locks start from zeros.
    if (format.compressed) return;
    GLuint framebuffer = 0;
    if (texture.IsRenderTarget()) {
        FramebufferFor(texture.SurfaceAt(face, level), nullptr, nullptr);
    } else {
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, FaceTarget(texture, face), texture.glName,
                               GLint(level));
    }
    if (Rgba8OnEs(texture, es)) {
        converted.resize(Texels(texture, level) * 4);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, converted.data());
        FromRgba8(format, converted.data(), Texels(texture, level), pixels);
    } else {
        glReadPixels(0, 0, w, h, format.glFormat, format.glType, pixels);
    }
    if (framebuffer) glDeleteFramebuffers(1, &framebuffer);
    device.dirty.targets = true;
}

void GLRenderer::GenerateMips(TextureData& texture) {
    MakeCurrent();
    if (texture.Levels() < 2 || texture.Format().compressed) return;
    BindForUpload(texture);
    glGenerateMipmap(BindTarget(texture));
}

void GLRenderer::CreateDepthSurface(Surface& surface) {
    MakeCurrent();
    glGenRenderbuffers(1, &surface.glRenderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, surface.glRenderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, FindFormat(surface.Format())->glInternal, GLsizei(surface.Width()),
                          GLsizei(surface.Height()));
}

void GLRenderer::DestroySurface(Surface& surface) {
    MakeCurrent();
    for (auto it = framebuffers.begin(); it != framebuffers.end();) {
        const auto& [color0, color1, depth] = it->first;
        if (color0 == &surface || color1 == &surface || depth == &surface) {
            glDeleteFramebuffers(1, &it->second);
            it = framebuffers.erase(it);
        } else {
            ++it;
        }
    }
    if (surface.glRenderbuffer) glDeleteRenderbuffers(1, &surface.glRenderbuffer);
    surface.glRenderbuffer = 0;
    device.dirty.targets = true;
}

// A buffer is bound to the target it is drawn from, from its creation on:
// WebGL 2 lets an index buffer be bound to no other target. Binding one to
// GL_ELEMENT_ARRAY_BUFFER changes the vertex array's index binding, which the
// next draw sets again.
uint32_t GLRenderer::BindBuffer(const BufferData& buffer) {
    GLenum target = buffer.IsIndex() ? GL_ELEMENT_ARRAY_BUFFER : GL_ARRAY_BUFFER;
    if (buffer.IsIndex()) device.dirty.indices = true;
    glBindBuffer(target, buffer.glName);
    return target;
}

void GLRenderer::CreateBuffer(BufferData& buffer) {
    MakeCurrent();
    glGenBuffers(1, &buffer.glName);
    glBufferData(BindBuffer(buffer), buffer.Length(), buffer.Bytes(), GL_DYNAMIC_DRAW);
}

void GLRenderer::UploadBuffer(BufferData& buffer, UINT offset, UINT size) {
    MakeCurrent();
    glBufferSubData(BindBuffer(buffer), offset, size, buffer.Bytes() + offset);
}

void GLRenderer::DestroyBuffer(BufferData& buffer) {
    MakeCurrent();
    glDeleteBuffers(1, &buffer.glName);
    buffer.glName = 0;
    device.dirty.vertexInput = true;
    device.dirty.indices = true;
}

bool GLRenderer::CompileShader(ShaderStage stage, const std::string& text, uint32_t* name, std::string* log) {
    MakeCurrent();
    *name = CompileGlsl(stage, text, Features(), log);
    return *name != 0;
}

void GLRenderer::DestroyShader(uint32_t name, const void* shader) {
    MakeCurrent();
    for (auto it = programs.begin(); it != programs.end();) {
        if (std::get<0>(it->first) == shader || std::get<1>(it->first) == shader) {
            if (currentProgram == it->second.name) currentProgram = 0;
            glDeleteProgram(it->second.name);
            it = programs.erase(it);
        } else {
            ++it;
        }
    }
    if (name) glDeleteShader(name);
    device.dirty.program = true;
}

uint32_t GLRenderer::AlphaTestVariant(PixelShader& shader) {
    if (!shader.alphaTestName) {
        std::string log;
        shader.alphaTestName = CompileGlsl(ShaderStage::Pixel, shader.Text(), Features(), &log, true);
        if (!shader.alphaTestName)
            std::fprintf(stderr, "d3d9: %s with the alpha test does not compile:\n%s\n", shader.Label().c_str(),
                         log.c_str());
    }
    return shader.alphaTestName;
}

GlslDialect CompilerDialect() {
    GLContext* context = GLContext::AnyDeviceContext();
    return context ? context->Features().glsl : ProcessDialect();
}

ShaderCheck CheckShaderText(ShaderStage stage, const std::string& text, std::string* log) {
    GLContext* context = GLContext::AnyDeviceContext();
    if (!context) context = GLContext::Hidden();
    if (!context) return ShaderCheck::NoCompiler;
    context->MakeCurrent();
    GLuint shader = CompileGlsl(stage, text, context->Features(), log);
    if (!shader) return ShaderCheck::Failed;
    glDeleteShader(shader);
    return ShaderCheck::Compiled;
}

}  // namespace d3d9
