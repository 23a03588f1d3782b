// D3DX 9 core stand-in: buffers, sprites and fonts.
#pragma once

#include "platform/d3dx9/d3dx9math.h"

// A block of bytes handed out by D3DX (compiled shaders, error text, material lists).
struct ID3DXBuffer : IUnknown {
    virtual void* GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};
typedef ID3DXBuffer* LPD3DXBUFFER;
HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer);

#define D3DXSPRITE_DONOTSAVESTATE (1 << 0)
#define D3DXSPRITE_DONOTMODIFY_RENDERSTATE (1 << 1)
#define D3DXSPRITE_OBJECTSPACE (1 << 2)
#define D3DXSPRITE_BILLBOARD (1 << 3)
#define D3DXSPRITE_ALPHABLEND (1 << 4)

// Batches textured rectangles. Without D3DXSPRITE_OBJECTSPACE the positions are
// screen pixels; with it they go through the sprite transform and the device's
// world, view and projection transforms. Draw with a colour modulates the texel.
struct ID3DXSprite : IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT GetTransform(D3DXMATRIX* transform) = 0;
    virtual HRESULT SetTransform(const D3DXMATRIX* transform) = 0;
    virtual HRESULT Begin(DWORD flags) = 0;
    virtual HRESULT Draw(IDirect3DTexture9* texture, const RECT* sourceRect, const D3DXVECTOR3* center,
                         const D3DXVECTOR3* position, D3DCOLOR color) = 0;
    virtual HRESULT Flush() = 0;
    virtual HRESULT End() = 0;
};
typedef ID3DXSprite* LPD3DXSPRITE;
HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);

#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DEFAULT_PITCH 0
#define FF_DONTCARE (0 << 4)

// A font object: it is created and released; nothing draws text with it.
struct ID3DXFont : IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
};
typedef ID3DXFont* LPD3DXFONT;
HRESULT D3DXCreateFontA(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels, BOOL italic,
                        DWORD charSet, DWORD outputPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName,
                        ID3DXFont** font);
