#include "platform/d3d9/vertex_declaration.h"

#include "platform/d3d9/names.h"

namespace d3d9 {

UINT VertexDeclaration::TypeSize(BYTE type) {
    switch (type) {
    case D3DDECLTYPE_FLOAT1: return 4;
    case D3DDECLTYPE_FLOAT2: return 8;
    case D3DDECLTYPE_FLOAT3: return 12;
    case D3DDECLTYPE_FLOAT4: return 16;
    case D3DDECLTYPE_D3DCOLOR:
    case D3DDECLTYPE_UBYTE4:
    case D3DDECLTYPE_UBYTE4N:
    case D3DDECLTYPE_SHORT2:
    case D3DDECLTYPE_SHORT2N:
    case D3DDECLTYPE_USHORT2N: return 4;
    case D3DDECLTYPE_SHORT4:
    case D3DDECLTYPE_SHORT4N:
    case D3DDECLTYPE_USHORT4N: return 8;
    default: return 0;
    }
}

VertexDeclaration::VertexDeclaration(Device* device, std::vector<D3DVERTEXELEMENT9> elements, bool startsPublic)
    : DeviceChild(device, device->NewLabel("VertexDeclaration"), startsPublic), elements(std::move(elements)) {}

VertexDeclaration* VertexDeclaration::Create(Device* device, const D3DVERTEXELEMENT9* given, bool startsPublic) {
    std::vector<D3DVERTEXELEMENT9> elements;
    for (UINT i = 0;; ++i) {
        if (i >= MAXD3DDECLLENGTH) return nullptr;
        const D3DVERTEXELEMENT9& element = given[i];
        if (element.Stream == 0xFF) break;
        if (element.Stream >= kStreams || TypeSize(element.Type) == 0 || element.Usage > D3DDECLUSAGE_SAMPLE)
            return nullptr;
        elements.push_back(element);
    }
    return new VertexDeclaration(device, std::move(elements), startsPublic);
}

std::vector<D3DVERTEXELEMENT9> VertexDeclaration::ElementsForFvf(DWORD fvf) {
    const DWORD known = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | 0xF00;
    std::vector<D3DVERTEXELEMENT9> elements;
    if ((fvf & ~known) || !(fvf & D3DFVF_XYZ)) return elements;
    WORD offset = 0;
    auto add = [&](BYTE type, BYTE usage, BYTE index) {
        elements.push_back({0, offset, type, D3DDECLMETHOD_DEFAULT, usage, index});
        offset = WORD(offset + TypeSize(type));
    };
    add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0);
    if (fvf & D3DFVF_NORMAL) add(D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0);
    if (fvf & D3DFVF_DIFFUSE) add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0);
    if (fvf & D3DFVF_SPECULAR) add(D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1);
    UINT texCount = (fvf >> 8) & 0xF;
    if (texCount > 8) return {};
    for (UINT i = 0; i < texCount; ++i) add(D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, BYTE(i));
    return elements;
}

HRESULT VertexDeclaration::GetDevice(IDirect3DDevice9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    device->AddRef();
    *out = device;
    return D3D_OK;
}

HRESULT VertexDeclaration::GetDeclaration(D3DVERTEXELEMENT9* out, UINT* count) {
    if (!count) return D3DERR_INVALIDCALL;
    UINT total = UINT(elements.size()) + 1;
    if (out) {
        for (size_t i = 0; i < elements.size(); ++i) out[i] = elements[i];
        out[elements.size()] = D3DDECL_END();
    }
    *count = total;
    return D3D_OK;
}

std::string VertexDeclaration::Describe() const {
    std::string out = "[";
    for (size_t i = 0; i < elements.size(); ++i) {
        const D3DVERTEXELEMENT9& e = elements[i];
        if (i) out += ", ";
        out += std::to_string(e.Stream) + ":" + std::to_string(e.Offset) + " " + DeclTypeName(e.Type) + " " +
               DeclUsageName(e.Usage) + std::to_string(e.UsageIndex);
    }
    return out + "]";
}

}  // namespace d3d9
