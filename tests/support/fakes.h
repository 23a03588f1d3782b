// Test doubles for the D3DX objects scenes draw with: a sprite and a mesh
// that record what they are asked to do.
#pragma once

#include <vector>

#include "platform/d3dx9/d3dx9.h"

struct FakeSprite : ID3DXSprite {
    struct Drawn {
        IDirect3DTexture9* texture;
        D3DXVECTOR3 position;
        D3DCOLOR color;
        D3DXMATRIX transform;
    };
    DWORD beginFlags = 0;  // of the last Begin
    std::vector<Drawn> drawn;
    D3DXMATRIX transform;

    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT GetDevice(IDirect3DDevice9**) override { return E_NOTIMPL; }
    HRESULT GetTransform(D3DXMATRIX* out) override {
        *out = transform;
        return S_OK;
    }
    HRESULT SetTransform(const D3DXMATRIX* m) override {
        transform = *m;
        return S_OK;
    }
    HRESULT Begin(DWORD flags) override {
        beginFlags = flags;
        return S_OK;
    }
    HRESULT Draw(IDirect3DTexture9* texture, const RECT*, const D3DXVECTOR3*, const D3DXVECTOR3* position,
                 D3DCOLOR color) override {
        drawn.push_back({texture, *position, color, transform});
        return S_OK;
    }
    HRESULT Flush() override { return S_OK; }
    HRESULT End() override { return S_OK; }
    void Clear() {
        beginFlags = 0;
        drawn.clear();
    }
};

struct FakeMesh : ID3DXMesh {
    std::vector<DWORD> subsetsDrawn;

    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT DrawSubset(DWORD attribId) override {
        subsetsDrawn.push_back(attribId);
        return S_OK;
    }
    DWORD GetNumFaces() override { return 0; }
    DWORD GetNumVertices() override { return 0; }
    DWORD GetFVF() override { return 0; }
    HRESULT GetDeclaration(D3DVERTEXELEMENT9*) override { return E_NOTIMPL; }
    DWORD GetNumBytesPerVertex() override { return 0; }
    DWORD GetOptions() override { return 0; }
    HRESULT GetDevice(IDirect3DDevice9**) override { return E_NOTIMPL; }
    HRESULT CloneMesh(DWORD, const D3DVERTEXELEMENT9*, IDirect3DDevice9*, ID3DXMesh**) override { return E_NOTIMPL; }
    HRESULT GetVertexBuffer(IDirect3DVertexBuffer9**) override { return E_NOTIMPL; }
    HRESULT GetIndexBuffer(IDirect3DIndexBuffer9**) override { return E_NOTIMPL; }
    HRESULT LockVertexBuffer(DWORD, LPVOID*) override { return E_NOTIMPL; }
    HRESULT UnlockVertexBuffer() override { return E_NOTIMPL; }
    HRESULT LockIndexBuffer(DWORD, LPVOID*) override { return E_NOTIMPL; }
    HRESULT UnlockIndexBuffer() override { return E_NOTIMPL; }
    HRESULT GetAttributeTable(D3DXATTRIBUTERANGE*, DWORD*) override { return E_NOTIMPL; }
    HRESULT LockAttributeBuffer(DWORD, DWORD**) override { return E_NOTIMPL; }
    HRESULT UnlockAttributeBuffer() override { return E_NOTIMPL; }
};
