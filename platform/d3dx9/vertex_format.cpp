// Vertex element sizes, lookups and conversions for D3DX meshes.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/d3dx9/vertex_format.h"

#include "platform/d3d9/vertex_declaration.h"

namespace d3dx {

namespace {

template <class T>
T Load(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T>
void Store(uint8_t* p, T v) {
    std::memcpy(p, &v, sizeof v);
}

float Clamp(float v, float lo, float hi) { return std::isnan(v) ? 0.0f : std::min(hi, std::max(lo, v)); }

uint8_t ToByte(float v) { return static_cast<uint8_t>(std::lround(Clamp(v, 0, 255))); }

}  // namespace

UINT DeclTypeSize(BYTE type) { return d3d9::VertexDeclaration::TypeSize(type); }

int DeclarationLength(const D3DVERTEXELEMENT9* declaration) {
    if (!declaration) return -1;
    for (int i = 0; i < MAXD3DDECLLENGTH; ++i)
        if (declaration[i].Stream == 0xFF) return i;
    return -1;
}

UINT DeclarationStride(const D3DVERTEXELEMENT9* declaration) {
    int length = DeclarationLength(declaration);
    if (length <= 0) return 0;
    UINT stride = 0;
    for (int i = 0; i < length; ++i) {
        const D3DVERTEXELEMENT9& e = declaration[i];
        UINT size = DeclTypeSize(e.Type);
        if (e.Stream != 0 || size == 0) return 0;
        for (int j = 0; j < i; ++j)
            if (declaration[j].Usage == e.Usage && declaration[j].UsageIndex == e.UsageIndex) return 0;
        stride = std::max(stride, UINT{e.Offset} + size);
    }
    return stride;
}

const D3DVERTEXELEMENT9* FindElement(const D3DVERTEXELEMENT9* declaration, BYTE usage, BYTE usageIndex) {
    int length = DeclarationLength(declaration);
    for (int i = 0; i < length; ++i)
        if (declaration[i].Usage == usage && declaration[i].UsageIndex == usageIndex) return &declaration[i];
    return nullptr;
}

void ReadElement(BYTE type, const uint8_t* p, float v[4]) {
    v[0] = v[1] = v[2] = v[3] = 0;
    switch (type) {
    case D3DDECLTYPE_FLOAT4: v[3] = Load<float>(p + 12); [[fallthrough]];
    case D3DDECLTYPE_FLOAT3: v[2] = Load<float>(p + 8); [[fallthrough]];
    case D3DDECLTYPE_FLOAT2: v[1] = Load<float>(p + 4); [[fallthrough]];
    case D3DDECLTYPE_FLOAT1: v[0] = Load<float>(p); break;
    case D3DDECLTYPE_D3DCOLOR:  // bytes b, g, r, a
        v[0] = p[2] / 255.0f, v[1] = p[1] / 255.0f, v[2] = p[0] / 255.0f, v[3] = p[3] / 255.0f;
        break;
    case D3DDECLTYPE_UBYTE4:
        for (int i = 0; i < 4; ++i) v[i] = p[i];
        break;
    case D3DDECLTYPE_UBYTE4N:
        for (int i = 0; i < 4; ++i) v[i] = p[i] / 255.0f;
        break;
    case D3DDECLTYPE_SHORT2:
    case D3DDECLTYPE_SHORT4:
        for (int i = 0; i < (type == D3DDECLTYPE_SHORT2 ? 2 : 4); ++i) v[i] = Load<int16_t>(p + 2 * i);
        break;
    case D3DDECLTYPE_SHORT2N:
    case D3DDECLTYPE_SHORT4N:
        for (int i = 0; i < (type == D3DDECLTYPE_SHORT2N ? 2 : 4); ++i)
            v[i] = std::max(-1.0f, Load<int16_t>(p + 2 * i) / 32767.0f);
        break;
    case D3DDECLTYPE_USHORT2N:
    case D3DDECLTYPE_USHORT4N:
        for (int i = 0; i < (type == D3DDECLTYPE_USHORT2N ? 2 : 4); ++i) v[i] = Load<uint16_t>(p + 2 * i) / 65535.0f;
        break;
    default: break;
    }
}

void WriteElement(BYTE type, const float v[4], uint8_t* p) {
    switch (type) {
    case D3DDECLTYPE_FLOAT4: Store(p + 12, v[3]); [[fallthrough]];
    case D3DDECLTYPE_FLOAT3: Store(p + 8, v[2]); [[fallthrough]];
    case D3DDECLTYPE_FLOAT2: Store(p + 4, v[1]); [[fallthrough]];
    case D3DDECLTYPE_FLOAT1: Store(p, v[0]); break;
    case D3DDECLTYPE_D3DCOLOR:
        p[0] = ToByte(v[2] * 255), p[1] = ToByte(v[1] * 255), p[2] = ToByte(v[0] * 255), p[3] = ToByte(v[3] * 255);
        break;
    case D3DDECLTYPE_UBYTE4:
        for (int i = 0; i < 4; ++i) p[i] = ToByte(v[i]);
        break;
    case D3DDECLTYPE_UBYTE4N:
        for (int i = 0; i < 4; ++i) p[i] = ToByte(v[i] * 255);
        break;
    case D3DDECLTYPE_SHORT2:
    case D3DDECLTYPE_SHORT4:
        for (int i = 0; i < (type == D3DDECLTYPE_SHORT2 ? 2 : 4); ++i)
            Store(p + 2 * i, static_cast<int16_t>(std::lround(Clamp(v[i], -32768, 32767))));
        break;
    case D3DDECLTYPE_SHORT2N:
    case D3DDECLTYPE_SHORT4N:
        for (int i = 0; i < (type == D3DDECLTYPE_SHORT2N ? 2 : 4); ++i)
            Store(p + 2 * i, static_cast<int16_t>(std::lround(Clamp(v[i], -1, 1) * 32767)));
        break;
    case D3DDECLTYPE_USHORT2N:
    case D3DDECLTYPE_USHORT4N:
        for (int i = 0; i < (type == D3DDECLTYPE_USHORT2N ? 2 : 4); ++i)
            Store(p + 2 * i, static_cast<uint16_t>(std::lround(Clamp(v[i], 0, 1) * 65535)));
        break;
    default: break;
    }
}

DWORD FvfFromDeclaration(const D3DVERTEXELEMENT9* declaration) {
    struct Part {
        DWORD fvf;
        BYTE usage, index, type;
    };
    static const Part parts[] = {
        {D3DFVF_XYZ, D3DDECLUSAGE_POSITION, 0, D3DDECLTYPE_FLOAT3},
        {D3DFVF_NORMAL, D3DDECLUSAGE_NORMAL, 0, D3DDECLTYPE_FLOAT3},
        {D3DFVF_DIFFUSE, D3DDECLUSAGE_COLOR, 0, D3DDECLTYPE_D3DCOLOR},
        {D3DFVF_SPECULAR, D3DDECLUSAGE_COLOR, 1, D3DDECLTYPE_D3DCOLOR},
        {D3DFVF_TEX1, D3DDECLUSAGE_TEXCOORD, 0, D3DDECLTYPE_FLOAT2},
        {D3DFVF_TEX2, D3DDECLUSAGE_TEXCOORD, 1, D3DDECLTYPE_FLOAT2},
    };
    int length = DeclarationLength(declaration);
    if (length <= 0) return 0;
    DWORD fvf = 0;
    UINT offset = 0;
    int matched = 0;
    for (const Part& part : parts) {
        if (matched == length) break;
        const D3DVERTEXELEMENT9& e = declaration[matched];
        if (e.Usage != part.usage || e.UsageIndex != part.index) continue;
        if (e.Type != part.type || e.Offset != offset) return 0;
        // Two texture coordinate sets are TEX2 alone, not TEX1 | TEX2.
        fvf = part.fvf == D3DFVF_TEX2 ? (fvf & ~DWORD{D3DFVF_TEX1}) | D3DFVF_TEX2 : fvf | part.fvf;
        offset += DeclTypeSize(e.Type);
        ++matched;
    }
    if (matched != length || !(fvf & D3DFVF_XYZ)) return 0;
    return fvf;
}

}  // namespace d3dx
