// The full-screen rectangle every screen-space pass draws with.
#include <cstring>

#include "platform/win32/windows.h"
#include "render/quad.h"
#include "render/render_target.h"

namespace {

struct QuadVertex {
    float x, y, z;
    float u, v;
};

// Clip-space corners as a triangle strip; texture coordinate (0, 0) is the
// top left of the target.
const QuadVertex kCorners[4] = {
    {-1.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    {1.0f, 1.0f, 0.0f, 1.0f, 0.0f},
    {-1.0f, -1.0f, 0.0f, 0.0f, 1.0f},
    {1.0f, -1.0f, 0.0f, 1.0f, 1.0f},
};

const D3DVERTEXELEMENT9 kQuadElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
};

}  // namespace

Quad::Quad(float texelWidth, float texelHeight) : texelSize{texelWidth, texelHeight} {}

Quad::~Quad() {
    if (vertexBuffer) vertexBuffer->Release();
    if (declaration) declaration->Release();
}

// The vertex buffer and declaration are made at the first draw. A failure
// leaves neither behind, is reported once, and is tried again at the next draw.
bool Quad::CreateBuffers(IDirect3DDevice9* device) {
    if (FAILED(device->CreateVertexBuffer(sizeof kCorners, 0, D3DFVF_XYZ | D3DFVF_TEX1, D3DPOOL_DEFAULT, &vertexBuffer,
                                          nullptr))) {
        vertexBuffer = nullptr;
        if (!bufferFailureShown) MessageBoxA(nullptr, "Error creating Vertex Buffer", "ERROR!", MB_OK);
        bufferFailureShown = true;
        return false;
    }
    void* data = nullptr;
    if (FAILED(device->CreateVertexDeclaration(kQuadElements, &declaration)) ||
        FAILED(vertexBuffer->Lock(0, 0, &data, 0))) {
        if (declaration) declaration->Release();
        declaration = nullptr;
        vertexBuffer->Release();
        vertexBuffer = nullptr;
        return false;
    }
    std::memcpy(data, kCorners, sizeof kCorners);
    vertexBuffer->Unlock();
    return true;
}

void Quad::Draw(IDirect3DTexture9* target, IDirect3DDevice9* device, IDirect3DVertexShader9* vertexShader,
                IDirect3DPixelShader9* pixelShader, bool clear) {
    IDirect3DSurface9* saved = CurrentTarget(device);
    // Only a target that became current is cleared; otherwise the pass goes
    // to the current target, which must keep its picture.
    if (SetTextureTarget(device, 0, target) && clear) device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);

    bool ready = vertexBuffer != nullptr || CreateBuffers(device);
    if (ready) {
        device->SetVertexDeclaration(declaration);
        device->SetRenderState(D3DRS_ZENABLE, FALSE);
        device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        const float texel[4] = {texelSize[0], texelSize[1], 0.0f, 0.0f};
        device->SetVertexShaderConstantF(0, texel, 1);
        device->SetVertexShader(vertexShader);
        device->SetPixelShader(pixelShader);
        device->SetStreamSource(0, vertexBuffer, 0, sizeof(QuadVertex));
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    }

    PutBackTarget(device, saved);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
}
