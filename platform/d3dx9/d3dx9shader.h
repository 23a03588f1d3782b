// D3DX 9 shader compiler stand-in. Sources are shader model 3 HLSL, which it
// translates to the GLSL of the register convention in docs/shaders.md;
// profile "vs_3_0" or "ps_3_0" picks the stage and the entry point must be
// "main". The compiled code is what IDirect3DDevice9::CreateVertexShader /
// CreatePixelShader take.
#pragma once

#include "platform/d3dx9/d3dx9core.h"

#define D3DXSHADER_DEBUG (1 << 0)
#define D3DXSHADER_SKIPOPTIMIZATION (1 << 2)

typedef struct _D3DXMACRO {
    LPCSTR Name;
    LPCSTR Definition;
} D3DXMACRO;
struct ID3DXInclude;
struct ID3DXConstantTable;
typedef ID3DXInclude* LPD3DXINCLUDE;
typedef ID3DXConstantTable* LPD3DXCONSTANTTABLE;

HRESULT D3DXCompileShader(LPCSTR source, UINT sourceLength, const D3DXMACRO* defines, LPD3DXINCLUDE include,
                          LPCSTR functionName, LPCSTR profile, DWORD flags, ID3DXBuffer** shader,
                          ID3DXBuffer** errorMessages, ID3DXConstantTable** constantTable);
