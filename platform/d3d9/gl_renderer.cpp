// GL renderer: set-up, state application, drawing, clearing and presenting.
#include "platform/d3d9/gl_renderer.h"

#include "platform/d3d9/gl_api.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/d3d9/buffer.h"
#include "platform/d3d9/shader.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_declaration.h"

namespace d3d9 {
namespace {

constexpr GLuint kVertexConstantsBinding = 0;
constexpr GLuint kPixelConstantsBinding = 1;
constexpr GLuint kDeviceValuesBinding = 2;

GLenum CompareFunction(DWORD cmp) {
    switch (cmp) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
    }
}

GLenum BlendFactor(DWORD blend) {
    switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    case D3DBLEND_BLENDFACTOR: return GL_CONSTANT_COLOR;
    case D3DBLEND_INVBLENDFACTOR: return GL_ONE_MINUS_CONSTANT_COLOR;
    default: return GL_ONE;
    }
}

// D3DBLEND_BOTHSRCALPHA / BOTHINVSRCALPHA as a source blend set both factors.
void BlendPair(DWORD src, DWORD dst, GLenum* glSrc, GLenum* glDst) {
    if (src == D3DBLEND_BOTHSRCALPHA) {
        *glSrc = GL_SRC_ALPHA;
        *glDst = GL_ONE_MINUS_SRC_ALPHA;
    } else if (src == D3DBLEND_BOTHINVSRCALPHA) {
        *glSrc = GL_ONE_MINUS_SRC_ALPHA;
        *glDst = GL_SRC_ALPHA;
    } else {
        *glSrc = BlendFactor(src);
        *glDst = BlendFactor(dst);
    }
}

GLenum BlendEquation(DWORD op) {
    switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
    }
}

GLenum StencilOp(DWORD op) {
    switch (op) {
    case D3DSTENCILOP_ZERO: return GL_ZERO;
    case D3DSTENCILOP_REPLACE: return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT: return GL_INCR;
    case D3DSTENCILOP_DECRSAT: return GL_DECR;
    case D3DSTENCILOP_INVERT: return GL_INVERT;
    case D3DSTENCILOP_INCR: return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR: return GL_DECR_WRAP;
    default: return GL_KEEP;
    }
}

GLenum PrimitiveMode(D3DPRIMITIVETYPE type) {
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

void ColorOf(D3DCOLOR color, float out[4]) {
    out[0] = float((color >> 16) & 0xFF) / 255.0f;
    out[1] = float((color >> 8) & 0xFF) / 255.0f;
    out[2] = float(color & 0xFF) / 255.0f;
    out[3] = float(color >> 24) / 255.0f;
}

struct AttributeFormat {
    GLint size;
    GLenum type;
    GLboolean normalized;
};

// OpenGL ES has no GL_BGRA attribute size: D3DCOLOR elements are read as
// R, G, B, A bytes there, and DrawUser swaps them into that order.
AttributeFormat FormatOf(BYTE type, bool es) {
    switch (type) {
    case D3DDECLTYPE_FLOAT1: return {1, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT2: return {2, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT3: return {3, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_D3DCOLOR: return {es ? 4 : GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE};
    case D3DDECLTYPE_UBYTE4: return {4, GL_UNSIGNED_BYTE, GL_FALSE};
    case D3DDECLTYPE_UBYTE4N: return {4, GL_UNSIGNED_BYTE, GL_TRUE};
    case D3DDECLTYPE_SHORT2: return {2, GL_SHORT, GL_FALSE};
    case D3DDECLTYPE_SHORT4: return {4, GL_SHORT, GL_FALSE};
    case D3DDECLTYPE_SHORT2N: return {2, GL_SHORT, GL_TRUE};
    case D3DDECLTYPE_SHORT4N: return {4, GL_SHORT, GL_TRUE};
    case D3DDECLTYPE_USHORT2N: return {2, GL_UNSIGNED_SHORT, GL_TRUE};
    case D3DDECLTYPE_USHORT4N: return {4, GL_UNSIGNED_SHORT, GL_TRUE};
    default: return {4, GL_FLOAT, GL_FALSE};
    }
}

}  // namespace

GLRenderer::GLRenderer(Device& device, std::unique_ptr<GLContext> context)
    : device(device), context(std::move(context)) {}

std::unique_ptr<GLRenderer> GLRenderer::Create(Device& device, SDL_Window* window, std::string* error) {
    std::unique_ptr<GLContext> context =
        window ? GLContext::CreateForWindow(window, error) : GLContext::CreateHeadless(error);
    if (!context) return nullptr;
    std::unique_ptr<GLRenderer> renderer(new GLRenderer(device, std::move(context)));
    if (!renderer->Init(error)) return nullptr;
    renderer->context->MarkDeviceContext(true);
    return renderer;
}

bool GLRenderer::Init(std::string* error) {
    MakeCurrent();
    if (Features().version < (Features().es ? 30 : 33)) {
        *error = Features().es ? "OpenGL ES 3.0 is needed" : "OpenGL 3.3 is needed";
        return false;
    }
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    const GLsizeiptr sizes[3] = {kVertexConstants * 16, kPixelConstants * 16, (kClipPlanes + 1) * 16};
    glGenBuffers(3, uniformBuffers);
    for (GLuint i = 0; i < 3; ++i) {
        glBindBuffer(GL_UNIFORM_BUFFER, uniformBuffers[i]);
        std::vector<uint8_t> zeros(size_t(sizes[i]), 0);
        glBufferData(GL_UNIFORM_BUFFER, sizes[i], zeros.data(), GL_DYNAMIC_DRAW);
        glBindBufferBase(GL_UNIFORM_BUFFER, i, uniformBuffers[i]);
    }
    glGenSamplers(D3D_MAX_SAMPLERS, samplers);
    for (GLuint i = 0; i < D3D_MAX_SAMPLERS; ++i) glBindSampler(i, samplers[i]);
    glGenBuffers(1, &userVertexBuffer);
    if (Features().clipControl) glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glFrontFace(GL_CCW);
    return glGetError() == GL_NO_ERROR;
}

GLRenderer::~GLRenderer() {
    MakeCurrent();
    for (auto& entry : framebuffers) glDeleteFramebuffers(1, &entry.second);
    for (auto& entry : programs) glDeleteProgram(entry.second.name);
    glDeleteFramebuffers(1, &presentedFramebuffer);
    glDeleteTextures(1, &presentedTexture);
    glDeleteBuffers(1, &userVertexBuffer);
    glDeleteSamplers(D3D_MAX_SAMPLERS, samplers);
    glDeleteBuffers(3, uniformBuffers);
    glDeleteVertexArrays(1, &vertexArray);
}

// ---- targets -----------------------------------------------------------------

void GLRenderer::AttachSurface(uint32_t attachment, const Surface* surface) {
    if (!surface) return;
    if (surface->IsDepth()) {
        GLenum point = surface->Format() == D3DFMT_D24S8 ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, point, GL_RENDERBUFFER, surface->glRenderbuffer);
        return;
    }
    const TextureData* texture = surface->Texture();
    GLenum target = texture->IsCube() ? GL_TEXTURE_CUBE_MAP_POSITIVE_X + surface->Face() : GL_TEXTURE_2D;
    glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, target, texture->glName, GLint(surface->Level()));
}

uint32_t GLRenderer::FramebufferFor(const Surface* color0, const Surface* color1, const Surface* depth) {
    TargetKey key{color0, color1, depth};
    auto found = framebuffers.find(key);
    if (found != framebuffers.end()) {
        glBindFramebuffer(GL_FRAMEBUFFER, found->second);
        return found->second;
    }
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    AttachSurface(GL_COLOR_ATTACHMENT0, color0);
    AttachSurface(GL_COLOR_ATTACHMENT1, color1);
    AttachSurface(0, depth);
    const GLenum buffers[2] = {GLenum(color0 ? GL_COLOR_ATTACHMENT0 : GL_NONE),
                               GLenum(color1 ? GL_COLOR_ATTACHMENT1 : GL_NONE)};
    glDrawBuffers(2, buffers);
    glReadBuffer(color0 ? GL_COLOR_ATTACHMENT0 : GL_NONE);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        std::fprintf(stderr, "d3d9: incomplete framebuffer for %s, %s, %s\n", LabelOf(color0).c_str(),
                     LabelOf(color1).c_str(), LabelOf(depth).c_str());
    framebuffers[key] = framebuffer;
    return framebuffer;
}

void GLRenderer::ApplyTargets() {
    FramebufferFor(device.state.renderTargets[0].get(), device.state.renderTargets[1].get(),
                   device.state.depthStencil.get());
    device.dirty.targets = false;
}

void GLRenderer::ApplyViewport() {
    const D3DVIEWPORT9& v = device.state.viewport;
    glViewport(GLint(v.X), GLint(v.Y), GLsizei(v.Width), GLsizei(v.Height));
    if (Features().es)
        glDepthRangef(v.MinZ, v.MaxZ);
    else
        glDepthRange(v.MinZ, v.MaxZ);
    device.dirty.viewport = false;
}

// ---- states --------------------------------------------------------------------

void GLRenderer::ApplyRenderStates() {
    uint32_t groups = device.dirty.renderGroups;
    if (!groups && !device.dirty.clipPlanes) return;
    const DWORD* rs = device.state.renderStates;
    if (groups & kGroupDepth) {
        if (rs[D3DRS_ZENABLE])
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
        glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
        glDepthFunc(CompareFunction(rs[D3DRS_ZFUNC]));
    }
    if (groups & kGroupBlend) {
        if (rs[D3DRS_ALPHABLENDENABLE])
            glEnable(GL_BLEND);
        else
            glDisable(GL_BLEND);
        GLenum src, dst, srcAlpha, dstAlpha;
        BlendPair(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND], &src, &dst);
        GLenum equation = BlendEquation(rs[D3DRS_BLENDOP]), equationAlpha = equation;
        if (rs[D3DRS_SEPARATEALPHABLENDENABLE]) {
            BlendPair(rs[D3DRS_SRCBLENDALPHA], rs[D3DRS_DESTBLENDALPHA], &srcAlpha, &dstAlpha);
            equationAlpha = BlendEquation(rs[D3DRS_BLENDOPALPHA]);
        } else {
            srcAlpha = src;
            dstAlpha = dst;
        }
        glBlendFuncSeparate(src, dst, srcAlpha, dstAlpha);
        glBlendEquationSeparate(equation, equationAlpha);
        float factor[4];
        ColorOf(rs[D3DRS_BLENDFACTOR], factor);
        glBlendColor(factor[0], factor[1], factor[2], factor[3]);
    }
    if (groups & kGroupCull) {
        DWORD cull = rs[D3DRS_CULLMODE];
        if (cull == D3DCULL_CW || cull == D3DCULL_CCW) {
            glEnable(GL_CULL_FACE);
            glCullFace(cull == D3DCULL_CCW ? GL_BACK : GL_FRONT);
        } else {
            glDisable(GL_CULL_FACE);
        }
    }
    if (groups & kGroupColorWrite) {
        for (GLuint target = 0; target < 2; ++target) {
            DWORD mask = rs[target == 0 ? D3DRS_COLORWRITEENABLE : D3DRS_COLORWRITEENABLE1];
            if (Features().es) {
                glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
                break;
            }
            glColorMaski(target, (mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
        }
    }
    if (groups & kGroupStencil) {
        if (rs[D3DRS_STENCILENABLE])
            glEnable(GL_STENCIL_TEST);
        else
            glDisable(GL_STENCIL_TEST);
        glStencilFunc(CompareFunction(rs[D3DRS_STENCILFUNC]), GLint(rs[D3DRS_STENCILREF]), rs[D3DRS_STENCILMASK]);
        glStencilOp(StencilOp(rs[D3DRS_STENCILFAIL]), StencilOp(rs[D3DRS_STENCILZFAIL]),
                    StencilOp(rs[D3DRS_STENCILPASS]));
        glStencilMask(rs[D3DRS_STENCILWRITEMASK]);
    }
    if ((groups & kGroupFill) && !Features().es) {
        DWORD fill = rs[D3DRS_FILLMODE];
        glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT       ? GL_POINT
                                         : fill == D3DFILL_WIREFRAME ? GL_LINE
                                                                     : GL_FILL);
    }
    if ((groups & kGroupClipEnable) && !Features().es) {  // ES: the pixel stage discards
        for (GLuint plane = 0; plane < kClipPlanes; ++plane)
            if (rs[D3DRS_CLIPPLANEENABLE] & (1u << plane))
                glEnable(GL_CLIP_DISTANCE0 + plane);
            else
                glDisable(GL_CLIP_DISTANCE0 + plane);
    }
    if (groups & kGroupDepthBias) {
        float bias, slope;
        std::memcpy(&bias, &rs[D3DRS_DEPTHBIAS], sizeof bias);
        std::memcpy(&slope, &rs[D3DRS_SLOPESCALEDEPTHBIAS], sizeof slope);
        if (bias != 0.0f || slope != 0.0f) {
            glEnable(GL_POLYGON_OFFSET_FILL);
            glPolygonOffset(slope, bias * float(1 << 24));
        } else {
            glDisable(GL_POLYGON_OFFSET_FILL);
        }
    }
    if ((groups & (kGroupAlphaTest | kGroupClipEnable)) || device.dirty.clipPlanes) {
        float values[kClipPlanes + 1][4] = {};
        std::memcpy(values, device.state.clipPlanes, sizeof device.state.clipPlanes);
        values[kClipPlanes][0] = float(rs[D3DRS_ALPHATESTENABLE] ? rs[D3DRS_ALPHAFUNC] : D3DCMP_ALWAYS);
        values[kClipPlanes][1] = float(rs[D3DRS_ALPHAREF] & 0xFF) / 255.0f;
        values[kClipPlanes][2] = float(rs[D3DRS_CLIPPLANEENABLE] & 0x3F);
        glBindBuffer(GL_UNIFORM_BUFFER, uniformBuffers[kDeviceValuesBinding]);
        glBufferSubData(GL_UNIFORM_BUFFER, 0, sizeof values, values);
        device.dirty.clipPlanes = false;
    }
    device.dirty.renderGroups = 0;
}

void GLRenderer::ApplySamplers() {
    uint32_t mask = device.dirty.samplers & ((1u << D3D_MAX_SAMPLERS) - 1);
    for (GLuint stage = 0; mask; ++stage, mask >>= 1) {
        if (!(mask & 1)) continue;
        const DWORD* s = device.state.samplerStates[stage];
        GLuint sampler = samplers[stage];
        auto wrap = [&](DWORD address) -> GLint {
            switch (address) {
            case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
            case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
            case D3DTADDRESS_BORDER: return Features().es ? GL_CLAMP_TO_EDGE : GL_CLAMP_TO_BORDER;
            case D3DTADDRESS_MIRRORONCE: return Features().mirrorClamp ? GL_MIRROR_CLAMP_TO_EDGE : GL_CLAMP_TO_EDGE;
            default: return GL_REPEAT;
            }
        };
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, wrap(s[D3DSAMP_ADDRESSU]));
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, wrap(s[D3DSAMP_ADDRESSV]));
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R, wrap(s[D3DSAMP_ADDRESSW]));
        if (!Features().es) {
            float border[4];
            ColorOf(s[D3DSAMP_BORDERCOLOR], border);
            glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, border);
        }
        bool magLinear = s[D3DSAMP_MAGFILTER] >= D3DTEXF_LINEAR;
        bool minLinear = s[D3DSAMP_MINFILTER] >= D3DTEXF_LINEAR;
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
        GLint minFilter;
        switch (s[D3DSAMP_MIPFILTER]) {
        case D3DTEXF_NONE: minFilter = minLinear ? GL_LINEAR : GL_NEAREST; break;
        case D3DTEXF_POINT: minFilter = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST; break;
        default: minFilter = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR; break;
        }
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, minFilter);
        if (Features().anisotropy) {
            bool anisotropic =
                s[D3DSAMP_MINFILTER] == D3DTEXF_ANISOTROPIC || s[D3DSAMP_MAGFILTER] == D3DTEXF_ANISOTROPIC;
            float amount = anisotropic ? float(s[D3DSAMP_MAXANISOTROPY]) : 1.0f;
            if (amount < 1.0f) amount = 1.0f;
            if (amount > Features().maxAnisotropy) amount = Features().maxAnisotropy;
            glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, amount);
        }
        if (!Features().es) {
            float bias;
            std::memcpy(&bias, &s[D3DSAMP_MIPMAPLODBIAS], sizeof bias);
            glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, bias);
        }
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, float(s[D3DSAMP_MAXMIPLEVEL]));
    }
    device.dirty.samplers = 0;
}

void GLRenderer::ApplyTextures() {
    uint32_t mask = device.dirty.textures & ((1u << D3D_MAX_SAMPLERS) - 1);
    for (GLuint stage = 0; mask; ++stage, mask >>= 1) {
        if (!(mask & 1)) continue;
        const TextureData* texture = device.state.textures[stage].get();
        GLenum target = texture ? (texture->IsCube() ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D) : 0;
        glActiveTexture(GL_TEXTURE0 + stage);
        if (boundTargets[stage] && boundTargets[stage] != target) glBindTexture(boundTargets[stage], 0);
        if (texture) glBindTexture(target, texture->glName);
        boundTargets[stage] = target;
    }
    device.dirty.textures = 0;
}

void GLRenderer::ApplyConstants() {
    RegisterRange& vs = device.dirty.vsConstants;
    if (!vs.Empty()) {
        glBindBuffer(GL_UNIFORM_BUFFER, uniformBuffers[kVertexConstantsBinding]);
        glBufferSubData(GL_UNIFORM_BUFFER, vs.begin * 16, (vs.end - vs.begin) * 16, device.state.vsConstants[vs.begin]);
        vs.Reset();
    }
    RegisterRange& ps = device.dirty.psConstants;
    if (!ps.Empty()) {
        glBindBuffer(GL_UNIFORM_BUFFER, uniformBuffers[kPixelConstantsBinding]);
        glBufferSubData(GL_UNIFORM_BUFFER, ps.begin * 16, (ps.end - ps.begin) * 16, device.state.psConstants[ps.begin]);
        ps.Reset();
    }
}

bool GLRenderer::ApplyProgram() {
    const VertexShader* vs = device.state.vertexShader.get();
    PixelShader* ps = device.state.pixelShader.get();
    const DWORD* rs = device.state.renderStates;
    const bool alphaTest = rs[D3DRS_ALPHATESTENABLE] && rs[D3DRS_ALPHAFUNC] != D3DCMP_ALWAYS;
    auto key = std::make_tuple(static_cast<const void*>(vs), static_cast<const void*>(ps), alphaTest);
    auto found = programs.find(key);
    if (found == programs.end()) {
        Program program;
        program.name = glCreateProgram();
        glAttachShader(program.name, vs->glName);
        glAttachShader(program.name, alphaTest ? AlphaTestVariant(*ps) : ps->glName);
        for (GLuint i = 0; i < kAttributeCount; ++i) glBindAttribLocation(program.name, i, kAttributeNames[i]);
        glLinkProgram(program.name);
        GLint linked = GL_FALSE;
        glGetProgramiv(program.name, GL_LINK_STATUS, &linked);
        program.linked = linked == GL_TRUE;
        if (!program.linked) {
            char log[2048] = {};
            glGetProgramInfoLog(program.name, sizeof log - 1, nullptr, log);
            std::fprintf(stderr, "d3d9: %s and %s do not link:\n%s\n", vs->Label().c_str(), ps->Label().c_str(), log);
        } else {
            const char* blocks[3] = {"D3DVertexConstants", "D3DPixelConstants", "D3DDeviceValues"};
            for (GLuint i = 0; i < 3; ++i) {
                GLuint index = glGetUniformBlockIndex(program.name, blocks[i]);
                if (index != GL_INVALID_INDEX) glUniformBlockBinding(program.name, index, i);
            }
            glUseProgram(program.name);
            for (GLint unit = 0; unit < GLint(D3D_MAX_SAMPLERS); ++unit) {
                char sampler[16];
                std::snprintf(sampler, sizeof sampler, "s%d", unit);
                GLint location = glGetUniformLocation(program.name, sampler);
                if (location >= 0) glUniform1i(location, unit);
            }
            currentProgram = program.name;
        }
        found = programs.emplace(key, program).first;
    }
    if (!found->second.linked) return false;
    if (currentProgram != found->second.name) {
        glUseProgram(found->second.name);
        currentProgram = found->second.name;
    }
    device.dirty.program = false;
    return true;
}

// ---- vertex input and drawing ------------------------------------------------------

bool GLRenderer::VerticesFit(int64_t first, int64_t count, UINT userStride) const {
    if (first < 0 || count <= 0) return false;
    for (const D3DVERTEXELEMENT9& e : device.state.declaration->Elements()) {
        if (AttributeLocation(e.Usage, e.UsageIndex) < 0) continue;
        int64_t size = VertexDeclaration::TypeSize(e.Type);
        if (userStride) {
            if (e.Stream == 0 && e.Offset + size > userStride) return false;
            continue;
        }
        const StreamSource& source = device.state.streams[e.Stream];
        if (!source.buffer) continue;
        int64_t last = source.offset + (first + count - 1) * int64_t(source.stride) + e.Offset + size;
        if (last > source.buffer->Length()) return false;
    }
    return true;
}

void GLRenderer::ApplyVertexInput(uint32_t userBuffer, UINT userStride, INT baseVertex) {
    uint32_t wanted = 0;
    for (const D3DVERTEXELEMENT9& e : device.state.declaration->Elements()) {
        int location = AttributeLocation(e.Usage, e.UsageIndex);
        if (location < 0) continue;
        GLuint buffer;
        size_t offset;
        GLsizei stride;
        if (userBuffer) {
            if (e.Stream != 0) continue;
            buffer = userBuffer;
            offset = e.Offset;
            stride = GLsizei(userStride);
        } else {
            const StreamSource& source = device.state.streams[e.Stream];
            if (!source.buffer) continue;
            buffer = source.buffer->glName;
            offset = size_t(source.offset) + e.Offset + size_t(baseVertex) * source.stride;
            stride = GLsizei(source.stride);
        }
        AttributeFormat format = FormatOf(e.Type, Features().es);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glVertexAttribPointer(GLuint(location), format.size, format.type, format.normalized, stride,
                              reinterpret_cast<const void*>(offset));
        wanted |= 1u << location;
    }
    uint32_t changed = wanted ^ enabledAttributes;
    for (GLuint location = 0; changed; ++location, changed >>= 1) {
        if (!(changed & 1)) continue;
        if (wanted & (1u << location))
            glEnableVertexAttribArray(location);
        else
            glDisableVertexAttribArray(location);
    }
    enabledAttributes = wanted;
    attributesBaseVertex = baseVertex;
}

bool GLRenderer::PrepareDraw() {
    MakeCurrent();
    // The alpha test picks the pixel shader's variant.
    if (device.dirty.renderGroups & kGroupAlphaTest) device.dirty.program = true;
    if (device.dirty.program && !ApplyProgram()) return false;
    if (device.dirty.targets) ApplyTargets();
    if (device.dirty.viewport) ApplyViewport();
    ApplyRenderStates();
    Surface* depthStencil = device.state.depthStencil.get();
    if (depthStencil && device.state.renderStates[D3DRS_STENCILENABLE])
        depthStencil->stencil = Surface::StencilContent::Mixed;
    if (device.dirty.samplers) ApplySamplers();
    if (device.dirty.textures) ApplyTextures();
    ApplyConstants();
    if (device.dirty.indices) {
        const IndexBuffer* indices = device.state.indices.get();
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices ? indices->glName : 0);
        device.dirty.indices = false;
    }
    return true;
}

namespace {

// Compiling only, a draw needs no more than its first primitive: the driver
// builds the same program and state variants for one as for all, and the
// vertices of a whole mesh cost vertex shading even with rasterization off.
UINT CompiledCount(D3DPRIMITIVETYPE type, UINT count, bool compilingOnly) {
    if (!compilingOnly) return count;
    const UINT first = type == D3DPT_POINTLIST ? 1 : type == D3DPT_LINELIST || type == D3DPT_LINESTRIP ? 2 : 3;
    return std::min(count, first);
}

}  // namespace

void GLRenderer::DrawArrays(D3DPRIMITIVETYPE type, UINT startVertex, UINT vertexCount) {
    if (!VerticesFit(startVertex, vertexCount, 0) || !PrepareDraw()) return;
    MarkPass(false);
    if (device.dirty.vertexInput || attributesBaseVertex != 0) {
        ApplyVertexInput(0, 0);
        device.dirty.vertexInput = false;
    }
    glDrawArrays(PrimitiveMode(type), GLint(startVertex), GLsizei(CompiledCount(type, vertexCount, rasterizerDiscard)));
}

void GLRenderer::DrawIndexed(D3DPRIMITIVETYPE type, INT baseVertex, UINT startIndex, UINT indexCount) {
    const IndexBuffer* indices = device.state.indices.get();
    if (!VerticesFit(int64_t(baseVertex), int64_t(indices->MaxIndex()) + 1, 0) || !PrepareDraw()) return;
    MarkPass(false);
    if (device.dirty.vertexInput) {
        ApplyVertexInput(0, 0, Features().es ? baseVertex : 0);
        device.dirty.vertexInput = false;
    }
    UINT size = indices->IndexSize();
    GLsizei count = GLsizei(CompiledCount(type, indexCount, rasterizerDiscard));
    GLenum indexType = size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
    const void* first = reinterpret_cast<const void*>(size_t(startIndex) * size);
    if (!Features().es) {
        glDrawElementsBaseVertex(PrimitiveMode(type), count, indexType, first, baseVertex);
        return;
    }
    if (baseVertex != attributesBaseVertex) ApplyVertexInput(0, 0, baseVertex);
    glDrawElements(PrimitiveMode(type), count, indexType, first);
}

const void* GLRenderer::SwapColours(const void* data, UINT vertexCount, UINT stride) {
    bool any = false;
    for (const D3DVERTEXELEMENT9& e : device.state.declaration->Elements())
        any = any || (e.Stream == 0 && e.Type == D3DDECLTYPE_D3DCOLOR && AttributeLocation(e.Usage, e.UsageIndex) >= 0);
    if (!any) return data;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    converted.assign(bytes, bytes + size_t(vertexCount) * stride);
    for (const D3DVERTEXELEMENT9& e : device.state.declaration->Elements()) {
        if (e.Stream != 0 || e.Type != D3DDECLTYPE_D3DCOLOR) continue;
        for (size_t at = e.Offset; at + 4 <= converted.size(); at += stride)
            std::swap(converted[at], converted[at + 2]);
    }
    return converted.data();
}

void GLRenderer::DrawUser(D3DPRIMITIVETYPE type, UINT vertexCount, const void* data, UINT stride) {
    if (!VerticesFit(0, vertexCount, stride) || !PrepareDraw()) return;
    MarkPass(false);
    if (Features().es) data = SwapColours(data, vertexCount, stride);
    glBindBuffer(GL_ARRAY_BUFFER, userVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount) * stride, data, GL_STREAM_DRAW);
    ApplyVertexInput(userVertexBuffer, stride);
    device.dirty.vertexInput = true;
    glDrawArrays(PrimitiveMode(type), 0, GLsizei(CompiledCount(type, vertexCount, rasterizerDiscard)));
}

// ---- clear and present -------------------------------------------------------------

void GLRenderer::SetRasterizerDiscard(bool on) {
    if (rasterizerDiscard == on) return;
    MakeCurrent();
    rasterizerDiscard = on;
    if (on)
        glEnable(GL_RASTERIZER_DISCARD);
    else
        glDisable(GL_RASTERIZER_DISCARD);
}

void GLRenderer::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
    MakeCurrent();
    if (device.dirty.targets) ApplyTargets();
    MarkPass(true);
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) {
        float rgba[4];
        ColorOf(color, rgba);
        glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        if (Features().es)
            glClearDepthf(z);
        else
            glClearDepth(z);
        glDepthMask(GL_TRUE);
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    const D3DVIEWPORT9& v = device.state.viewport;
    Surface* depthStencil = device.state.depthStencil.get();
    if (depthStencil && depthStencil->Format() == D3DFMT_D24S8 && (flags & (D3DCLEAR_STENCIL | D3DCLEAR_ZBUFFER))) {
        using Content = Surface::StencilContent;
        if (flags & D3DCLEAR_STENCIL) {
            // Undefined samples may as well hold the new value.
            const bool whole = count == 0 && v.X == 0 && v.Y == 0 && v.Width >= depthStencil->Width() &&
                               v.Height >= depthStencil->Height();
            const bool same = depthStencil->stencil == Content::Undefined ||
                              (depthStencil->stencil == Content::Uniform && depthStencil->stencilValue == stencil);
            depthStencil->stencil = whole || same ? Content::Uniform : Content::Mixed;
            depthStencil->stencilValue = stencil;
        } else if (depthStencil->stencil == Content::Undefined) {
            depthStencil->stencil = Content::Uniform;
            depthStencil->stencilValue = 0;
        }
        if ((flags & D3DCLEAR_STENCIL) || depthStencil->stencil == Content::Uniform) {
            glClearStencil(GLint((flags & D3DCLEAR_STENCIL) ? stencil : depthStencil->stencilValue));
            glStencilMask(0xFF);
            bits |= GL_STENCIL_BUFFER_BIT;
        }
    }
    // Clears cover the viewport, or the given rectangles within it. Rows are
    // stored top first, so Direct3D's y is GL's y.
    glEnable(GL_SCISSOR_TEST);
    DWORD areas = count ? count : 1;
    for (DWORD i = 0; i < areas; ++i) {
        LONG x1 = LONG(v.X), y1 = LONG(v.Y), x2 = LONG(v.X + v.Width), y2 = LONG(v.Y + v.Height);
        if (count) {
            x1 = std::max(x1, rects[i].x1);
            y1 = std::max(y1, rects[i].y1);
            x2 = std::min(x2, rects[i].x2);
            y2 = std::min(y2, rects[i].y2);
        }
        if (x2 <= x1 || y2 <= y1) continue;
        glScissor(x1, y1, x2 - x1, y2 - y1);
        glClear(bits);
    }
    glDisable(GL_SCISSOR_TEST);
    device.dirty.renderGroups |= kGroupColorWrite | kGroupDepth | kGroupStencil;
}

void GLRenderer::MarkPass(bool clear) {
    if (!timer.On()) return;
    const DeviceState& state = device.state;
    timer.Mark(clear ? nullptr : state.vertexShader.get(), clear ? nullptr : state.pixelShader.get(),
               state.renderTargets[0].get());
}

void GLRenderer::Present(UINT interval) {
    MakeCurrent();
    timer.EndFrame();
    const Surface* back = device.BackBufferSurface();
    int width = int(back->Width()), height = int(back->Height());
    if (!presentedTexture) {
        glGenTextures(1, &presentedTexture);
        glActiveTexture(GL_TEXTURE0 + D3D_MAX_SAMPLERS);
        glBindTexture(GL_TEXTURE_2D, presentedTexture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glGenFramebuffers(1, &presentedFramebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, presentedFramebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, presentedTexture, 0);
        presentedWidth = width;
        presentedHeight = height;
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    GLuint source = FramebufferFor(back, nullptr, nullptr);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, presentedFramebuffer);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (context->HasWindow()) {
        int interval01 = interval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1;
        if (interval01 != swapInterval) {
            context->SetSwapInterval(interval01);
            swapInterval = interval01;
        }
        int drawableWidth, drawableHeight;
        context->DrawableSize(&drawableWidth, &drawableHeight);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        // The back buffer's top row is row 0; the window's is its last row.
        glBlitFramebuffer(0, 0, width, height, 0, drawableHeight, drawableWidth, 0, GL_COLOR_BUFFER_BIT,
                          drawableWidth == width && drawableHeight == height ? GL_NEAREST : GL_LINEAR);
        context->SwapBuffers();
    }
    presented = true;
    device.dirty.targets = true;
    device.dirty.renderGroups |= kGroupColorWrite;
}

bool GLRenderer::ReadPresented(std::vector<uint8_t>* rgba, int* width, int* height) {
    if (!presented) return false;
    MakeCurrent();
    rgba->resize(size_t(presentedWidth) * presentedHeight * 4);
    glBindFramebuffer(GL_FRAMEBUFFER, presentedFramebuffer);
    glReadPixels(0, 0, presentedWidth, presentedHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
    device.dirty.targets = true;
    if (device.PresentParameters().BackBufferFormat == D3DFMT_X8R8G8B8)
        for (size_t i = 3; i < rgba->size(); i += 4) (*rgba)[i] = 255;
    *width = presentedWidth;
    *height = presentedHeight;
    return true;
}

}  // namespace d3d9
