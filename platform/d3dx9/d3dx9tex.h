// D3DX 9 texture loading stand-in: JPEG, PNG, TGA, BMP and DDS from memory.
// DDS keeps its mip chain (DXT1/3/5 are decoded to A8R8G8B8 when the device
// cannot take them compressed); other images get a full mip chain generated.
#pragma once

#include "platform/d3dx9/d3dx9core.h"

#ifndef D3DXERR_INVALIDDATA
#define D3DXERR_INVALIDDATA ((HRESULT)0x88760B59u)
#endif

HRESULT D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* device, LPCVOID data, UINT size,
                                          IDirect3DTexture9** texture);
HRESULT D3DXCreateCubeTextureFromFileInMemory(IDirect3DDevice9* device, LPCVOID data, UINT size,
                                              IDirect3DCubeTexture9** texture);
