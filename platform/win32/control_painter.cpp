// Paints windows whose class has a background brush, with their child
// controls, through an SDL 2D renderer: flat rectangles in the colours of a
// plain Windows dialog and text in stb_easy_font's small bitmap face. The same
// painting serves the on-screen window and Win32_CaptureWindow.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_easy_font.h>
#pragma GCC diagnostic pop

#include "platform/win32/win32_internal.h"

namespace win32 {

namespace {

struct Colour {
    Uint8 r, g, b;
};

constexpr Colour kText = {0, 0, 0};
constexpr Colour kWhite = {255, 255, 255};
constexpr Colour kFace = {225, 225, 225};
constexpr Colour kFacePushed = {204, 228, 247};
constexpr Colour kBorder = {173, 173, 173};
constexpr Colour kBorderPushed = {0, 84, 153};
constexpr Colour kAccent = {0, 120, 215};
constexpr Colour kBoxBorder = {51, 51, 51};
constexpr Colour kListBorder = {100, 100, 100};
constexpr Colour kTrack = {240, 240, 240};
constexpr Colour kThumb = {192, 192, 192};
constexpr int kTextHeight = 7;  // cap height of stb_easy_font's face

Colour BrushColour(HBRUSH brush) {
    // A class brush is a system colour index + 1.
    switch (reinterpret_cast<uintptr_t>(brush)) {
    case COLOR_WINDOW + 1: return kWhite;
    default: return {240, 240, 240};
    }
}

class Painter {
public:
    explicit Painter(SDL_Renderer* renderer) : renderer(renderer) {}

    void Fill(int x, int y, int w, int h, Colour c) {
        SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, 255);
        SDL_Rect rect = {x, y, w, h};
        SDL_RenderFillRect(renderer, &rect);
    }

    void Frame(int x, int y, int w, int h, Colour c) {
        SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, 255);
        SDL_Rect rect = {x, y, w, h};
        SDL_RenderDrawRect(renderer, &rect);
    }

    void Line(int x0, int y0, int x1, int y1, Colour c) {
        SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, 255);
        SDL_RenderDrawLine(renderer, x0, y0, x1, y1);
    }

    // The dotted rectangle Windows draws around the focused control's text.
    void FocusFrame(int x, int y, int w, int h) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        for (int i = 0; i < w; i += 2) {
            SDL_RenderDrawPoint(renderer, x + i, y);
            SDL_RenderDrawPoint(renderer, x + i, y + h - 1);
        }
        for (int i = 0; i < h; i += 2) {
            SDL_RenderDrawPoint(renderer, x, y + i);
            SDL_RenderDrawPoint(renderer, x + w - 1, y + i);
        }
    }

    static int TextWidth(const std::string& text) { return stb_easy_font_width(const_cast<char*>(text.c_str())); }

    // Text whose cap height is centred on `middle`.
    void Text(int x, int middle, const std::string& text, Colour c) {
        std::vector<char> buffer(text.size() * 1024 + 64);  // at most 16 quads of 64 bytes a character
        int quads = stb_easy_font_print(0, 0, const_cast<char*>(text.c_str()), nullptr, buffer.data(),
                                        static_cast<int>(buffer.size()));
        SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, 255);
        int top = middle - kTextHeight / 2 - 1;
        for (int q = 0; q < quads; ++q) {
            // Four vertices of 16 bytes (x, y, z as floats, then a colour); corners 0 and 2 span the quad.
            float v0[2], v2[2];
            std::memcpy(v0, buffer.data() + q * 64, sizeof v0);
            std::memcpy(v2, buffer.data() + q * 64 + 32, sizeof v2);
            SDL_Rect rect = {x + static_cast<int>(v0[0]), top + static_cast<int>(v0[1]),
                             static_cast<int>(v2[0] - v0[0]), static_cast<int>(v2[1] - v0[1])};
            SDL_RenderFillRect(renderer, &rect);
        }
    }

private:
    SDL_Renderer* renderer;
};

void PaintPushButton(Painter& p, const Window& button, bool focused) {
    const RECT& r = button.rect;
    int w = r.right - r.left, h = r.bottom - r.top;
    bool pushed = button.button.pushed;
    p.Fill(r.left, r.top, w, h, pushed ? kFacePushed : kFace);
    p.Frame(r.left, r.top, w, h, pushed ? kBorderPushed : focused ? kAccent : kBorder);
    if (focused && !pushed) p.Frame(r.left + 1, r.top + 1, w - 2, h - 2, kAccent);
    int textWidth = Painter::TextWidth(button.text);
    int x = r.left + (w - textWidth) / 2 + (pushed ? 1 : 0);
    p.Text(x, r.top + h / 2 + (pushed ? 1 : 0), button.text, kText);
    if (focused) p.FocusFrame(r.left + 3, r.top + 3, w - 6, h - 6);
}

void PaintCheckBox(Painter& p, const Window& box, bool focused) {
    const RECT& r = box.rect;
    int h = r.bottom - r.top;
    int boxTop = r.top + (h - 13) / 2;
    p.Fill(r.left, boxTop, 13, 13, box.button.pushed ? kFacePushed : kWhite);
    p.Frame(r.left, boxTop, 13, 13, box.button.pushed ? kBorderPushed : kBoxBorder);
    if (box.button.check == BST_CHECKED) {
        // A tick two pixels thick.
        for (int d = 0; d < 2; ++d) {
            p.Line(r.left + 3, boxTop + 6 + d, r.left + 5, boxTop + 8 + d, kText);
            p.Line(r.left + 5, boxTop + 8 + d, r.left + 9, boxTop + 4 + d, kText);
        }
    }
    int textX = r.left + 18;
    p.Text(textX, r.top + h / 2, box.text, kText);
    if (focused) p.FocusFrame(textX - 2, r.top + h / 2 - 7, Painter::TextWidth(box.text) + 4, 14);
}

void PaintComboField(Painter& p, const Window& combo, bool focused) {
    const RECT& r = combo.rect;
    int w = r.right - r.left;
    const ComboState& state = combo.combo;
    p.Fill(r.left, r.top, w, kComboFieldHeight, kFace);
    p.Frame(r.left, r.top, w, kComboFieldHeight, focused || state.dropped ? kAccent : kBorder);
    int middle = r.top + kComboFieldHeight / 2;
    if (state.selection >= 0 && state.selection < static_cast<int>(state.items.size())) {
        const std::string& text = state.items[state.selection];
        if (focused && !state.dropped) {
            p.Fill(r.left + 3, r.top + 3, w - 23, kComboFieldHeight - 6, kAccent);
            p.Text(r.left + 5, middle, text, kWhite);
        } else {
            p.Text(r.left + 5, middle, text, kText);
        }
    }
    // The drop-down arrow: a small chevron at the right.
    int ax = r.right - 13, ay = middle - 2;
    for (int d = 0; d < 2; ++d) {
        p.Line(ax - 3, ay + d, ax, ay + 3 + d, kText);
        p.Line(ax, ay + 3 + d, ax + 3, ay + d, kText);
    }
}

void PaintComboList(Painter& p, const Window& combo) {
    const RECT& r = combo.rect;
    int w = r.right - r.left;
    const ComboState& state = combo.combo;
    int visible = ComboVisibleItems(combo);
    int count = static_cast<int>(state.items.size());
    int top = r.top + kComboFieldHeight;
    int height = visible * kComboItemHeight + 2;
    p.Fill(r.left, top, w, height, kWhite);
    p.Frame(r.left, top, w, height, kListBorder);
    bool scrolls = count > visible;
    int itemWidth = w - 2 - (scrolls ? 12 : 0);
    for (int i = 0; i < visible && state.top + i < count; ++i) {
        int index = state.top + i;
        int y = top + 1 + i * kComboItemHeight;
        bool hot = index == state.hot;
        if (hot) p.Fill(r.left + 1, y, itemWidth, kComboItemHeight, kAccent);
        p.Text(r.left + 5, y + kComboItemHeight / 2, state.items[index], hot ? kWhite : kText);
    }
    if (scrolls) {
        int trackX = r.right - 13, trackY = top + 1, trackH = height - 2;
        p.Fill(trackX, trackY, 12, trackH, kTrack);
        int thumbH = std::max(8, trackH * visible / count);
        int thumbY = trackY + (trackH - thumbH) * state.top / std::max(1, count - visible);
        p.Fill(trackX + 2, thumbY, 8, thumbH, kThumb);
    }
}

}  // namespace

void PaintWindow(Window& topLevel, SDL_Renderer* renderer) {
    Painter p(renderer);
    int w = topLevel.rect.right - topLevel.rect.left, h = topLevel.rect.bottom - topLevel.rect.top;
    p.Fill(0, 0, w, h, BrushColour(topLevel.background));
    HWND focus = GetFocus();
    std::vector<const Window*> openLists;
    for (HWND child : topLevel.children) {
        const Window* c = Find(child);
        if (!c || !c->visible) continue;
        bool focused = focus == child;
        if (IsComboClass(*c)) {
            PaintComboField(p, *c, focused);
            if (c->combo.dropped) openLists.push_back(c);
        } else if (IsButtonClass(*c)) {
            DWORD type = c->style & BS_TYPEMASK;
            if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX)
                PaintCheckBox(p, *c, focused);
            else
                PaintPushButton(p, *c, focused);
        }
    }
    for (const Window* c : openLists) PaintComboList(p, *c);
}

void PaintOnScreen(Window& topLevel) {
    if (!topLevel.renderer) return;
    PaintWindow(topLevel, topLevel.renderer);
    SDL_RenderPresent(topLevel.renderer);
}

}  // namespace win32

bool Win32_CaptureWindow(HWND hwnd, std::vector<uint8_t>* rgba, int* width, int* height) {
    using namespace win32;
    Window* window = TopLevelOf(Find(hwnd));
    if (!window || !rgba) return false;
    int w = window->rect.right - window->rect.left, h = window->rect.bottom - window->rect.top;
    if (w <= 0 || h <= 0) return false;
    rgba->resize(static_cast<size_t>(w) * h * 4);
    if (window->renderer) {
        // On screen: paint the window and read back what it shows.
        PaintWindow(*window, window->renderer);
        bool read = SDL_RenderReadPixels(window->renderer, nullptr, SDL_PIXELFORMAT_RGBA32, rgba->data(), w * 4) == 0;
        SDL_RenderPresent(window->renderer);
        if (width) *width = w;
        if (height) *height = h;
        return read;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return false;
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    if (!renderer) {
        SDL_FreeSurface(surface);
        return false;
    }
    PaintWindow(*window, renderer);
    SDL_RenderFlush(renderer);
    for (int y = 0; y < h; ++y)
        std::memcpy(rgba->data() + static_cast<size_t>(y) * w * 4,
                    static_cast<const uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                    static_cast<size_t>(w) * 4);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
    if (width) *width = w;
    if (height) *height = h;
    return true;
}
