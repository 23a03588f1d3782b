// ID3DXFont: one small bitmap face (stb_easy_font's, the one the loader
// dialog's controls are painted with), rasterised once into a texture of
// glyph cells and drawn as sprites, one per character.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb/stb_easy_font.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/d3d9/ref_counted.h"
#include "platform/d3dx9/d3dx9core.h"
#include "platform/d3dx9/d3dx9tex.h"

namespace {

constexpr char kFirstGlyph = ' ';
constexpr char kLastGlyph = '~';
constexpr int kGlyphCount = kLastGlyph - kFirstGlyph + 1;
// The face's line: a cell is this tall and at most this wide at scale 1.
constexpr int kLineHeight = 12;
constexpr int kCellWidth = 8;
constexpr int kColumns = 16;
constexpr int kRows = (kGlyphCount + kColumns - 1) / kColumns;
// Each quad stb_easy_font makes: four corners of 16 bytes.
constexpr int kQuadBytes = 64;
// Glyphs handed to the sprite between flushes: fewer than a sprite batch
// holds without growing, so long texts allocate nothing either.
constexpr int kGlyphBatch = 60;

class Font final : public d3d9::RefCounted<ID3DXFont> {
public:
    Font(IDirect3DDevice9* device, int height)
        : device(device), scale(std::max(1, (height + kLineHeight / 2) / kLineHeight)) {
        device->AddRef();
    }
    ~Font() override {
        if (atlas) atlas->Release();
        if (ownSprite) ownSprite->Release();
        device->Release();
    }
    HRESULT GetDevice(IDirect3DDevice9** out) override {
        if (!out) return D3DERR_INVALIDCALL;
        device->AddRef();
        *out = device;
        return D3D_OK;
    }
    INT DrawTextA(ID3DXSprite* sprite, LPCSTR text, INT count, RECT* rect, DWORD format, D3DCOLOR color) override;

private:
    bool MakeAtlas();
    static int GlyphIndex(char c) { return c >= kFirstGlyph && c <= kLastGlyph ? c - kFirstGlyph : '?' - kFirstGlyph; }

    IDirect3DDevice9* device;
    int scale;
    IDirect3DTexture9* atlas = nullptr;
    ID3DXSprite* ownSprite = nullptr;
    int advance[kGlyphCount] = {};  // pixels at scale 1
};

// Every printable character in a cell of its own, white on transparent.
bool Font::MakeAtlas() {
    if (atlas) return true;
    const int width = kColumns * kCellWidth * scale, height = kRows * kLineHeight * scale;
    if (FAILED(
            device->CreateTexture(UINT(width), UINT(height), 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &atlas, nullptr)))
        return false;
    D3DLOCKED_RECT locked;
    if (FAILED(atlas->LockRect(0, &locked, nullptr, 0))) {
        atlas->Release();
        atlas = nullptr;
        return false;
    }
    for (int y = 0; y < height; ++y) std::memset(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, 0, width * 4);
    char quads[kQuadBytes * 64];
    for (int i = 0; i < kGlyphCount; ++i) {
        char glyph[2] = {char(kFirstGlyph + i), 0};
        advance[i] = stb_easy_font_width(glyph);
        const int count = stb_easy_font_print(0, 0, glyph, nullptr, quads, sizeof quads);
        const int cellX = (i % kColumns) * kCellWidth, cellY = (i / kColumns) * kLineHeight;
        for (int q = 0; q < count; ++q) {
            float topLeft[2], bottomRight[2];
            std::memcpy(topLeft, quads + q * kQuadBytes, sizeof topLeft);
            std::memcpy(bottomRight, quads + q * kQuadBytes + 32, sizeof bottomRight);
            const int x0 = std::clamp(int(topLeft[0]), 0, kCellWidth),
                      x1 = std::clamp(int(bottomRight[0]), 0, kCellWidth);
            const int y0 = std::clamp(int(topLeft[1]), 0, kLineHeight),
                      y1 = std::clamp(int(bottomRight[1]), 0, kLineHeight);
            for (int y = (cellY + y0) * scale; y < (cellY + y1) * scale; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
                std::fill(row + (cellX + x0) * scale, row + (cellX + x1) * scale, 0xFFFFFFFFu);
            }
        }
    }
    atlas->UnlockRect(0);
    return true;
}

INT Font::DrawTextA(ID3DXSprite* sprite, LPCSTR text, INT count, RECT* rect, DWORD format, D3DCOLOR color) {
    if (!text || !rect || !MakeAtlas()) return 0;
    const bool measuring = (format & DT_CALCRECT) != 0;
    if (!measuring && !sprite) {
        if (!ownSprite && FAILED(D3DXCreateSprite(device, &ownSprite))) return 0;
        if (FAILED(ownSprite->Begin(D3DXSPRITE_ALPHABLEND))) return 0;
    }
    ID3DXSprite* drawing = sprite ? sprite : ownSprite;
    const size_t length = count < 0 ? std::strlen(text) : size_t(count);
    int x = 0, y = 0, widest = 0, batched = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n') {
            x = 0;
            y += kLineHeight * scale;
            continue;
        }
        const int glyph = GlyphIndex(text[i]);
        if (!measuring && text[i] != ' ') {
            const LONG cellX = (glyph % kColumns) * kCellWidth * scale,
                       cellY = (glyph / kColumns) * kLineHeight * scale;
            const LONG width = std::min(advance[glyph], kCellWidth) * scale;
            const RECT cell = {cellX, cellY, cellX + width, cellY + kLineHeight * scale};
            const D3DXVECTOR3 position(float(rect->left + x), float(rect->top + y), 0.0f);
            drawing->Draw(atlas, &cell, nullptr, &position, color);
            if (++batched == kGlyphBatch) {
                drawing->Flush();
                batched = 0;
            }
        }
        x += advance[glyph] * scale;
        widest = std::max(widest, x);
    }
    const int height = length ? y + kLineHeight * scale : 0;
    if (measuring) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
    } else if (!sprite) {
        ownSprite->End();
    }
    return height;
}

}  // namespace

HRESULT D3DXCreateFontA(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels, BOOL italic,
                        DWORD charSet, DWORD outputPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName,
                        ID3DXFont** font) {
    (void)width, (void)mipLevels, (void)italic, (void)charSet, (void)outputPrecision, (void)quality,
        (void)pitchAndFamily;
    if (!font) return D3DERR_INVALIDCALL;
    *font = nullptr;
    if (!device || !faceName || height == 0 || weight > 1000) return D3DERR_INVALIDCALL;
    *font = new Font(device, height < 0 ? -height : height);
    return D3D_OK;
}
