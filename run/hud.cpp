#include "run/hud.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <typeinfo>

#include "effects/begin_effect.h"
#include "effects/hand_draw_effect.h"
#include "effects/hand_to_hatch_effect.h"
#include "effects/hatch_to_normal_effect.h"
#include "effects/shatter_effect.h"
#include "effects/star_effect.h"
#include "platform/d3d9/d3d9_platform.h"
#include "platform/d3dx9/d3dx9.h"
#include "run/run_control.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"

namespace {

using Clock = std::chrono::steady_clock;

// Sizes at 480 lines; taller pictures scale them by whole steps.
constexpr int kLine = 12;  // the font's line
constexpr int kMargin = 6;
constexpr int kPanelWidth = 330;
constexpr int kGraphFrames = 120;   // frame times in the graph
constexpr int kGraphHeight = 40;    // one pixel a millisecond
constexpr int kSpectrumHeight = 48;
constexpr int kSpectrumBands = 512;
// The white texture every bar and panel is cut from.
constexpr int kWhiteWidth = 512;
constexpr int kWhiteHeight = 128;
// Sprites drawn between flushes, within what the sprite holds without growing.
constexpr int kBatch = 60;
constexpr double kNoteSeconds = 6.0;
constexpr D3DCOLOR kPanel = 0xB0000000;
constexpr D3DCOLOR kText = 0xFFFFFFFF;
constexpr D3DCOLOR kWarning = 0xFFFF8060;
constexpr D3DCOLOR kSpectrumBar = 0xFF60C0FF;

struct Hud {
    IDirect3DDevice9* device = nullptr;
    bool shown = false;
    ID3DXFont* font = nullptr;
    ID3DXSprite* sprite = nullptr;
    IDirect3DTexture9* white = nullptr;
    int unit = 0;  // the scale the objects were made for
    int batched = 0;

    float frameMs[kGraphFrames] = {};
    int frameCount = 0;
    Clock::time_point lastPresent;
    double drawSeconds = 0.0;

    char note[320] = {};
    Clock::time_point noteUntil;
    char shaderError[640] = {};
};

Hud g_hud;

template <class T>
void ReleaseAndClear(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

const char* SceneName(const Mirel::Effect& effect) {
    const std::type_info& type = typeid(effect);
    if (type == typeid(Mirel::BeginEffect)) return "BeginEffect";
    if (type == typeid(Mirel::HandDrawEffect)) return "HandDrawEffect";
    if (type == typeid(Mirel::HandToHatchEffect)) return "HandToHatchEffect";
    if (type == typeid(Mirel::HatchToNormalEffect)) return "HatchToNormalEffect";
    if (type == typeid(Mirel::ShatterEffect)) return "ShatterEffect";
    if (type == typeid(Mirel::StarEffect)) return "StarEffect";
    return "effect";
}

bool MakeObjects(Hud& hud, int unit) {
    if (hud.unit == unit && hud.font && hud.sprite && hud.white) return true;
    ReleaseAndClear(hud.font);
    ReleaseAndClear(hud.sprite);
    ReleaseAndClear(hud.white);
    hud.unit = unit;
    if (FAILED(D3DXCreateFontA(hud.device, kLine * unit, 0, 400, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "overlay", &hud.font)) ||
        FAILED(D3DXCreateSprite(hud.device, &hud.sprite)) ||
        FAILED(hud.device->CreateTexture(kWhiteWidth, kWhiteHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &hud.white,
                                         nullptr)))
        return false;
    D3DLOCKED_RECT locked;
    if (FAILED(hud.white->LockRect(0, &locked, nullptr, 0))) return false;
    for (int y = 0; y < kWhiteHeight; ++y)
        std::memset(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, 0xFF, kWhiteWidth * 4);
    hud.white->UnlockRect(0);
    return true;
}

// Every kBatch sprites the batch is drawn, so the sprite never grows.
void Batched(Hud& hud, int sprites) {
    hud.batched += sprites;
    if (hud.batched < kBatch) return;
    hud.sprite->Flush();
    hud.batched = 0;
}

// A filled rectangle in pixels, cut from the white texture (tiled where larger).
void Fill(Hud& hud, int x, int y, int width, int height, D3DCOLOR color) {
    for (int top = 0; top < height; top += kWhiteHeight) {
        for (int left = 0; left < width; left += kWhiteWidth) {
            const RECT source = {0, 0, std::min(kWhiteWidth, width - left), std::min(kWhiteHeight, height - top)};
            const D3DXVECTOR3 position(float(x + left), float(y + top), 0.0f);
            hud.sprite->Draw(hud.white, &source, nullptr, &position, color);
            Batched(hud, 1);
        }
    }
}

int Text(Hud& hud, int x, int y, const char* text, D3DCOLOR color) {
    hud.sprite->Flush();
    hud.batched = 0;
    RECT rect = {x, y, x, y};
    const int height = hud.font->DrawTextA(hud.sprite, text, -1, &rect, DT_LEFT | DT_TOP | DT_NOCLIP, color);
    hud.sprite->Flush();
    return height;
}

void RecordFrameTime(Hud& hud, Clock::time_point now) {
    if (hud.lastPresent != Clock::time_point()) {
        std::memmove(hud.frameMs, hud.frameMs + 1, sizeof hud.frameMs - sizeof hud.frameMs[0]);
        hud.frameMs[kGraphFrames - 1] = std::chrono::duration<float, std::milli>(now - hud.lastPresent).count();
        hud.frameCount = std::min(hud.frameCount + 1, kGraphFrames);
    }
    hud.lastPresent = now;
}

void Draw(Hud& hud) {
    const Clock::time_point started = Clock::now();
    RecordFrameTime(hud, started);
    if (!hud.shown || !hud.device) return;
    DemoState& s = g_demoState;
    IDirect3DSurface9* target = nullptr;
    D3DSURFACE_DESC desc = {};
    if (SUCCEEDED(hud.device->GetRenderTarget(0, &target))) {
        target->GetDesc(&desc);
        target->Release();
    }
    const int unit = std::max(1, int(desc.Height) / 480);
    if (!MakeObjects(hud, unit)) return;

    hud.device->BeginScene();
    hud.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    hud.batched = 0;
    const int margin = kMargin * unit, line = kLine * unit;

    // Lines of text, measured first for the panel behind them.
    char lines[5][160];
    int count = 0;
    const Mirel::Effect* scene = s.activeEffects.empty() ? nullptr : s.activeEffects.front();
    std::snprintf(lines[count++], sizeof lines[0], "%8.3f s   %s %7.3f s%s", s.time, scene ? SceneName(*scene) : "-",
                  scene ? s.time - scene->startTime : 0.0, RunPaused() ? "   PAUSED" : "");
    float sum = 0.0f, worst = 0.0f;
    for (int i = kGraphFrames - hud.frameCount; i < kGraphFrames; ++i) {
        sum += hud.frameMs[i];
        worst = std::max(worst, hud.frameMs[i]);
    }
    const float average = hud.frameCount ? sum / float(hud.frameCount) : 0.0f;
    std::snprintf(lines[count++], sizeof lines[0], "%6.1f fps  %6.2f ms  worst %6.2f ms  overlay %.2f ms",
                  average > 0 ? 1000.0f / average : 0.0f, average, worst, hud.drawSeconds * 1000.0);
    const bool noting = hud.note[0] && started < hud.noteUntil;

    int y = margin;
    const int graphTop = margin + count * line + margin / 2;
    Fill(hud, margin / 2, margin / 2, kPanelWidth * unit, graphTop + kGraphHeight * unit + margin / 2, kPanel);
    for (int i = 0; i < count; ++i) y += Text(hud, margin, y, lines[i], kText);

    // Frame times, newest on the right, one pixel a millisecond.
    for (int i = 0; i < kGraphFrames; ++i) {
        const float ms = hud.frameMs[i];
        const int height = std::clamp(int(ms * float(unit)), ms > 0 ? 1 : 0, kGraphHeight * unit);
        const D3DCOLOR color = ms > 33.4f ? 0xFFFF5050 : ms > 16.8f ? 0xFFFFD040 : 0xFF60FF60;
        if (height) Fill(hud, margin + i * 2 * unit, graphTop + kGraphHeight * unit - height, unit, height, color);
    }

    // Notes under the panel.
    y = graphTop + kGraphHeight * unit + margin;
    if (noting) y += Text(hud, margin, y, hud.note, kText);
    if (hud.shaderError[0]) y += Text(hud, margin, y, hud.shaderError, kWarning);

    // The spectrum along the bottom, lowest band on the left.
    if (s.music) {
        const int available = std::max(1, int(desc.Width) - 2 * margin);
        const int step = std::max(1, (kSpectrumBands * unit + available - 1) / available);
        const int bottom = int(desc.Height) - margin;
        const int width = kSpectrumBands / step * unit;
        Fill(hud, margin / 2, bottom - kSpectrumHeight * unit - margin / 2, width + margin,
             kSpectrumHeight * unit + margin, kPanel);
        for (int band = 0; band < kSpectrumBands; band += step) {
            float value = 0.0f;
            for (int k = band; k < band + step && k < kSpectrumBands; ++k) value = std::max(value, s.music->spectrum[k]);
            const int height = std::min(kSpectrumHeight * unit, int(std::sqrt(value) * 2.0f * kSpectrumHeight * unit));
            if (height > 0) Fill(hud, margin + band / step * unit, bottom - height, unit, height, kSpectrumBar);
        }
    }
    hud.sprite->End();
    hud.device->EndScene();
    hud.drawSeconds = std::chrono::duration<double>(Clock::now() - started).count();
}

void CopyText(char* to, size_t size, const char* text) {
    std::snprintf(to, size, "%s", text ? text : "");
}

}  // namespace

void InstallHud(IDirect3DDevice9* device, bool shown) {
    ReleaseHud();
    g_hud.device = device;
    g_hud.shown = shown;
    if (device) D3D9_SetPresentHook(device, [] { Draw(g_hud); });
}

void ShowHud(bool shown) { g_hud.shown = shown; }
bool HudShown() { return g_hud.shown; }

void HudNote(const char* text) {
    CopyText(g_hud.note, sizeof g_hud.note, text);
    g_hud.noteUntil = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kNoteSeconds));
}

void HudShaderError(const char* text) { CopyText(g_hud.shaderError, sizeof g_hud.shaderError, text); }

void ReleaseHud() {
    // The device's hook stays; with no device here it draws nothing.
    ReleaseAndClear(g_hud.font);
    ReleaseAndClear(g_hud.sprite);
    ReleaseAndClear(g_hud.white);
    g_hud = Hud();
}

double HudDrawSeconds() { return g_hud.drawSeconds; }
