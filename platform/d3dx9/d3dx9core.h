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

// DrawTextA formats: text is laid out from the rectangle's top left corner,
// one line per '\n'; DT_CALCRECT only measures. The other Windows formats
// (centring, word breaks, clipping) are not offered.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400

// A font object. Its face is a small bitmap font whatever the name asked for,
// drawn at a whole multiple of its 12-pixel line that comes closest to the
// height asked for; characters outside printable ASCII draw as '?'.
// DrawTextA draws through `sprite` between its caller's Begin and End, or,
// given no sprite, through one of the font's own with alpha blending;
// either way it allocates nothing once the font has drawn once.
struct ID3DXFont : IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    // Draws `count` characters (-1: up to the terminating zero) of `text`
    // from the top left of `rect`, in `color`, and returns the height of the
    // text in pixels (0 on failure). With DT_CALCRECT nothing is drawn and
    // `rect`'s right and bottom are set to the text's extent.
    virtual INT DrawTextA(ID3DXSprite* sprite, LPCSTR text, INT count, RECT* rect, DWORD format, D3DCOLOR color) = 0;
};
typedef ID3DXFont* LPD3DXFONT;
HRESULT D3DXCreateFontA(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels, BOOL italic,
                        DWORD charSet, DWORD outputPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName,
                        ID3DXFont** font);
