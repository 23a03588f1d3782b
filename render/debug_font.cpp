// The debug-text objects: a font and a sprite of their own, never drawn with.
#include "platform/win32/windows.h"
#include "render/debug_font.h"

DebugFont::DebugFont(IDirect3DDevice9* device) : device(device) {
    if (FAILED(D3DXCreateFontA(device, 30, 0, 700, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, "Arial", &font))) {
        font = nullptr;
        MessageBoxA(nullptr, "Error creating debug font", "Errof", MB_ICONERROR);
    }
    if (FAILED(D3DXCreateSprite(device, &sprite))) {
        sprite = nullptr;
        MessageBoxA(nullptr, "Error creating sprite", "Error!", MB_ICONERROR);
    }
}
