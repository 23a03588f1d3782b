// Shader objects, the code blocks they are made from, and the GLSL prelude of
// the register convention (docs/shaders.md).
#include "platform/d3d9/shader.h"

#include <cstring>

#include "platform/d3d9/gl_renderer.h"

namespace d3d9 {

template <class Interface, ShaderStage kStage>
ShaderObject<Interface, kStage>::~ShaderObject() {
    if (GLRenderer* gl = owner->Renderer()) {
        gl->DestroyShader(glName, this);
        if (alphaTestName) gl->DestroyShader(alphaTestName, this);
    }
}
template class ShaderObject<IDirect3DVertexShader9, ShaderStage::Vertex>;
template class ShaderObject<IDirect3DPixelShader9, ShaderStage::Pixel>;

const char* const kAttributeNames[kAttributeCount] = {
    "POSITION0", "NORMAL0", "TEXCOORD0", "TEXCOORD1", "TEXCOORD2", "TEXCOORD3", "TANGENT0",     "BINORMAL0",
    "COLOR0",    "COLOR1",  "TEXCOORD4", "TEXCOORD5", "TEXCOORD6", "TEXCOORD7", "BLENDWEIGHT0", "BLENDINDICES0",
};

int AttributeLocation(BYTE usage, BYTE index) {
    switch (usage) {
    case D3DDECLUSAGE_POSITION: return index == 0 ? 0 : -1;
    case D3DDECLUSAGE_NORMAL: return index == 0 ? 1 : -1;
    case D3DDECLUSAGE_TEXCOORD: return index < 4 ? 2 + index : index < 8 ? 10 + (index - 4) : -1;
    case D3DDECLUSAGE_TANGENT: return index == 0 ? 6 : -1;
    case D3DDECLUSAGE_BINORMAL: return index == 0 ? 7 : -1;
    case D3DDECLUSAGE_COLOR: return index < 2 ? 8 + index : -1;
    case D3DDECLUSAGE_BLENDWEIGHT: return index == 0 ? 14 : -1;
    case D3DDECLUSAGE_BLENDINDICES: return index == 0 ? 15 : -1;
    default: return -1;
    }
}

std::vector<uint8_t> PackShaderCode(ShaderStage stage, const std::string& text) {
    uint32_t header[3] = {kShaderCodeMagic, static_cast<uint32_t>(stage), static_cast<uint32_t>(text.size())};
    size_t total = sizeof header + text.size() + 1;
    total = (total + 3) & ~size_t(3);
    std::vector<uint8_t> code(total, 0);
    std::memcpy(code.data(), header, sizeof header);
    std::memcpy(code.data() + sizeof header, text.data(), text.size());
    return code;
}

bool UnpackShaderCode(const DWORD* code, ShaderStage stage, std::string* text) {
    if (!code || code[0] != kShaderCodeMagic || code[1] != static_cast<uint32_t>(stage)) return false;
    const char* bytes = reinterpret_cast<const char*>(code + 3);
    if (bytes[code[2]] != '\0') return false;
    text->assign(bytes, code[2]);
    return true;
}

namespace {

// The first lines of each dialect; everything after them is shared. GLSL ES
// has no default float precision in the pixel stage and low-precision samplers
// by default; D3D_CLIP_BY_DISCARD stands in for its missing gl_ClipDistance.
const char* const kDesktopVersion = "#version 330 core\n";
const char* const kEsVersion = R"(#version 300 es
precision highp float;
precision highp int;
precision highp sampler2D;
precision highp samplerCube;
#define D3D_CLIP_BY_DISCARD
)";

// Shared by both stages: the device values (clip planes, alpha test).
const char* const kCommonPrelude = R"(layout(std140) uniform D3DDeviceValues {
    vec4 d3d_clipPlane[6];
    vec4 d3d_values;  // x = alpha test D3DCMP function, y = its reference 0..1, z = clip plane enable bits
};
)";

// The register blocks have instance names because both stages call their
// registers c; the macro makes c0..cN plain c[0]..c[N].
const char* const kVertexPrelude = R"(layout(std140) uniform D3DVertexConstants {
    vec4 c[256];
} d3d_vertex;
#define c d3d_vertex.c
#ifdef D3D_CLIP_BY_DISCARD
out vec4 d3d_clip0123;
out vec2 d3d_clip45;
#else
out float gl_ClipDistance[6];
#endif
#define main d3d_main
)";

const char* const kVertexEpilogue = R"(
#undef main
void main() {
    d3d_main();
    vec4 p = gl_Position;
    int enabled = int(d3d_values.z);
    float d3d_clip[6];
    for (int i = 0; i < 6; ++i)
        d3d_clip[i] = (enabled & (1 << i)) != 0 ? dot(d3d_clipPlane[i], p) : 0.0;
#ifdef D3D_CLIP_BY_DISCARD
    d3d_clip0123 = vec4(d3d_clip[0], d3d_clip[1], d3d_clip[2], d3d_clip[3]);
    d3d_clip45 = vec2(d3d_clip[4], d3d_clip[5]);
#else
    for (int i = 0; i < 6; ++i)
        gl_ClipDistance[i] = d3d_clip[i];
#endif
#ifdef D3D_REMAP_DEPTH
    p.z = 2.0 * p.z - p.w;
#endif
    gl_Position = vec4(p.x, -p.y, p.z, p.w);
}
)";

const char* const kPixelPrelude = R"(layout(std140) uniform D3DPixelConstants {
    vec4 c[224];
} d3d_pixel;
#define c d3d_pixel.c
layout(location = 0) out vec4 oC0;
layout(location = 1) out vec4 oC1;
#ifdef D3D_CLIP_BY_DISCARD
in vec4 d3d_clip0123;
in vec2 d3d_clip45;
#endif
#define main d3d_main
)";

const char* const kPixelEpilogue = R"(
#undef main
#ifdef D3D_ALPHA_TEST
bool d3d_passes(float a) {
    int f = int(d3d_values.x);
    float r = d3d_values.y;
    if (f == 1) return false;
    if (f == 2) return a < r;
    if (f == 3) return a == r;
    if (f == 4) return a <= r;
    if (f == 5) return a > r;
    if (f == 6) return a != r;
    if (f == 7) return a >= r;
    return true;
}
#endif
void main() {
    d3d_main();
#ifdef D3D_CLIP_BY_DISCARD
    if (any(lessThan(d3d_clip0123, vec4(0.0))) || any(lessThan(d3d_clip45, vec2(0.0)))) discard;
#endif
#ifdef D3D_ALPHA_TEST
    if (!d3d_passes(oC0.a)) discard;
#endif
}
)";

// The program's text with any #version line blanked (the prelude has one).
std::string WithoutVersion(const std::string& text) {
    std::string out = text;
    size_t at = 0;
    while ((at = out.find("#version", at)) != std::string::npos) {
        size_t end = out.find('\n', at);
        if (end == std::string::npos) end = out.size();
        for (size_t i = at; i < end; ++i) out[i] = ' ';
        at = end;
    }
    return out;
}

}  // namespace

std::string BuildGlsl(ShaderStage stage, const std::string& text, bool remapDepth, GlslDialect dialect,
                      bool alphaTest) {
    std::string glsl = dialect == GlslDialect::Es300 ? kEsVersion : kDesktopVersion;
    glsl += kCommonPrelude;
    if (stage == ShaderStage::Vertex) {
        if (remapDepth) glsl += "#define D3D_REMAP_DEPTH\n";
        glsl += kVertexPrelude;
    } else {
        if (alphaTest) glsl += "#define D3D_ALPHA_TEST\n";
        glsl += kPixelPrelude;
    }
    glsl += "#line 1\n";
    glsl += WithoutVersion(text);
    glsl += stage == ShaderStage::Vertex ? kVertexEpilogue : kPixelEpilogue;
    return glsl;
}

}  // namespace d3d9
