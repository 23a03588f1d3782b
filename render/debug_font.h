// Debug-text objects: made at start-up, never drawn with.
#pragma once

#include "platform/d3dx9/d3dx9.h"

struct DebugFont {
    explicit DebugFont(IDirect3DDevice9* device);
    ID3DXFont* font = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXSprite* sprite = nullptr;
};
