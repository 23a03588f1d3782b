// A device that refuses everything, for the tests of what the resource
// manager does when the device cannot create a shader it compiled. It counts
// the shader creations asked of it and takes part in reference counting like
// any device; every other call fails.
#pragma once

#include "platform/d3d9/d3d9.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"

class RefusingDevice final : public IDirect3DDevice9 {
public:
    int shaderCreations = 0;
    ULONG references = 1;

    HRESULT QueryInterface(REFIID riid, void** object) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override { return --references; }

    HRESULT CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) override {
        ++shaderCreations;
        *shader = nullptr;
        return D3DERR_INVALIDCALL;
    }
    HRESULT CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) override {
        ++shaderCreations;
        *shader = nullptr;
        return D3DERR_INVALIDCALL;
    }

    HRESULT TestCooperativeLevel() override { return D3DERR_INVALIDCALL; }
    HRESULT GetDirect3D(IDirect3D9** d3d) override { return D3DERR_INVALIDCALL; }
    HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override { return D3DERR_INVALIDCALL; }
    HRESULT Present(const RECT* source, const RECT* dest, HWND overrideWindow, const void* dirtyRegion) override { return D3DERR_INVALIDCALL; }
    HRESULT BeginScene() override { return D3DERR_INVALIDCALL; }
    HRESULT EndScene() override { return D3DERR_INVALIDCALL; }
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override { return D3DERR_INVALIDCALL; }
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) override { return D3DERR_INVALIDCALL; }
    HRESULT CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DCubeTexture9** texture, HANDLE* shared) override { return D3DERR_INVALIDCALL; }
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer, HANDLE* shared) override { return D3DERR_INVALIDCALL; }
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer, HANDLE* shared) override { return D3DERR_INVALIDCALL; }
    HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample, DWORD quality, BOOL discard, IDirect3DSurface9** surface, HANDLE* shared) override { return D3DERR_INVALIDCALL; }
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements, IDirect3DVertexDeclaration9** declaration) override { return D3DERR_INVALIDCALL; }
    HRESULT CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** stateBlock) override { return D3DERR_INVALIDCALL; }
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override { return D3DERR_INVALIDCALL; }
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override { return D3DERR_INVALIDCALL; }
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) override { return D3DERR_INVALIDCALL; }
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override { return D3DERR_INVALIDCALL; }
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override { return D3DERR_INVALIDCALL; }
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override { return D3DERR_INVALIDCALL; }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override { return D3DERR_INVALIDCALL; }
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override { return D3DERR_INVALIDCALL; }
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override { return D3DERR_INVALIDCALL; }
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override { return D3DERR_INVALIDCALL; }
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override { return D3DERR_INVALIDCALL; }
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override { return D3DERR_INVALIDCALL; }
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override { return D3DERR_INVALIDCALL; }
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override { return D3DERR_INVALIDCALL; }
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override { return D3DERR_INVALIDCALL; }
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override { return D3DERR_INVALIDCALL; }
    HRESULT SetClipPlane(DWORD index, const float* plane) override { return D3DERR_INVALIDCALL; }
    HRESULT GetClipPlane(DWORD index, float* plane) override { return D3DERR_INVALIDCALL; }
    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) override { return D3DERR_INVALIDCALL; }
    HRESULT GetVertexDeclaration(IDirect3DVertexDeclaration9** declaration) override { return D3DERR_INVALIDCALL; }
    HRESULT SetFVF(DWORD fvf) override { return D3DERR_INVALIDCALL; }
    HRESULT GetFVF(DWORD* fvf) override { return D3DERR_INVALIDCALL; }
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override { return D3DERR_INVALIDCALL; }
    HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) override { return D3DERR_INVALIDCALL; }
    HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override { return D3DERR_INVALIDCALL; }
    HRESULT GetIndices(IDirect3DIndexBuffer9** buffer) override { return D3DERR_INVALIDCALL; }
    HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override { return D3DERR_INVALIDCALL; }
    HRESULT GetVertexShader(IDirect3DVertexShader9** shader) override { return D3DERR_INVALIDCALL; }
    HRESULT SetPixelShader(IDirect3DPixelShader9* shader) override { return D3DERR_INVALIDCALL; }
    HRESULT GetPixelShader(IDirect3DPixelShader9** shader) override { return D3DERR_INVALIDCALL; }
    HRESULT SetVertexShaderConstantF(UINT startRegister, const float* data, UINT vector4fCount) override { return D3DERR_INVALIDCALL; }
    HRESULT GetVertexShaderConstantF(UINT startRegister, float* data, UINT vector4fCount) override { return D3DERR_INVALIDCALL; }
    HRESULT SetPixelShaderConstantF(UINT startRegister, const float* data, UINT vector4fCount) override { return D3DERR_INVALIDCALL; }
    HRESULT GetPixelShaderConstantF(UINT startRegister, float* data, UINT vector4fCount) override { return D3DERR_INVALIDCALL; }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override { return D3DERR_INVALIDCALL; }
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex, UINT numVertices, UINT startIndex, UINT primitiveCount) override { return D3DERR_INVALIDCALL; }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData, UINT vertexStride) override { return D3DERR_INVALIDCALL; }
};

#pragma GCC diagnostic pop
