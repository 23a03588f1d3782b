// IDirect3DVertexDeclaration9: the vertex elements, checked once at creation.
// Declarations made for SetFVF are kept by the device, one per FVF code.
#pragma once

#include <vector>

#include "platform/d3d9/device.h"

namespace d3d9 {

class VertexDeclaration final : public DeviceChild<IDirect3DVertexDeclaration9> {
public:
    // Null when the elements are malformed (unknown type, no end marker
    // within MAXD3DDECLLENGTH, stream out of range).
    static VertexDeclaration* Create(Device* device, const D3DVERTEXELEMENT9* elements, bool startsPublic);
    // The elements of an FVF code; empty for codes the stand-in cannot express.
    static std::vector<D3DVERTEXELEMENT9> ElementsForFvf(DWORD fvf);
    static UINT TypeSize(BYTE type);

    HRESULT GetDevice(IDirect3DDevice9** device) override;
    HRESULT GetDeclaration(D3DVERTEXELEMENT9* elements, UINT* count) override;

    const std::vector<D3DVERTEXELEMENT9>& Elements() const { return elements; }  // without the end marker
    std::string Describe() const;

private:
    VertexDeclaration(Device* device, std::vector<D3DVERTEXELEMENT9> elements, bool startsPublic);
    std::vector<D3DVERTEXELEMENT9> elements;
};

}  // namespace d3d9
