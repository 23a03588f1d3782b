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
#include "render/release_interface.h"
#include "resources/resource_manager.h"
#include "run/run_control.h"
#include "shell/demo_state.h"
#include "sound/music_player.h"

namespace {

using Clock = std::chrono::steady_clock;

// Sizes at 480 lines; taller pictures scale them by whole steps.
constexpr int kLine = 12;  // the font's line
constexpr int kMargin = 6;
constexpr int kGraphFrames = 120;  // frame times in the graph
constexpr int kGraphHeight = 40;   // one pixel a millisecond
constexpr int kSpectrumHeight = 48;
constexpr int kSpectrumBands = 512;
constexpr int kPassColumn = 220;  // width of the pass list
// The white texture the panels are cut from.
constexpr int kWhiteWidth = 512;
constexpr int kWhiteHeight = 128;
constexpr double kNoteSeconds = 6.0;
constexpr D3DCOLOR kPanel = 0xA0000000;
constexpr D3DCOLOR kText = 0xFFFFFFFF;
constexpr D3DCOLOR kWarning = 0xFFFF8060;
constexpr D3DCOLOR kSpectrumBar = 0xFF60C0FF;

// A picture of bars, painted on the processor each frame and drawn as one
// sprite: a column of `unit` pixels per value, bottom aligned.
struct Bars {
    IDirect3DTexture9* texture = nullptr;
    int width = 0;  // pixels
    int height = 0;
};

struct Hud {
    IDirect3DDevice9* device = nullptr;
    bool shown = false;
    ID3DXFont* font = nullptr;
    ID3DXSprite* sprite = nullptr;
    IDirect3DTexture9* white = nullptr;
    Bars graph;
    Bars spectrum;
    bool timing = false;  // the device times each pass for the overlay
    char passes[1600] = {};
    int unit = 0;          // the scale the objects were made for
    int spectrumStep = 1;  // bands a spectrum column shows

    float frameMs[kGraphFrames] = {};
    int frameCount = 0;
    Clock::time_point lastPresent;
    double drawSeconds = 0.0;

    char note[320] = {};
    Clock::time_point noteUntil;
    char shaderError[640] = {};
};

Hud g_hud;
bool g_timePasses = true;

void ReleaseObjects(Hud& hud) {
    ReleaseInterface(hud.font);
    ReleaseInterface(hud.sprite);
    ReleaseInterface(hud.white);
    ReleaseInterface(hud.graph.texture);
    ReleaseInterface(hud.spectrum.texture);
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

bool MakeBars(IDirect3DDevice9* device, int width, int height, Bars* bars) {
    bars->width = width;
    bars->height = height;
    return SUCCEEDED(device->CreateTexture(UINT(width), UINT(height), 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                           &bars->texture, nullptr));
}

bool MakeObjects(Hud& hud, int unit, int targetWidth) {
    const int available = std::max(1, targetWidth - 2 * kMargin * unit);
    const int step = std::max(1, (kSpectrumBands * unit + available - 1) / available);
    if (hud.unit == unit && hud.spectrumStep == step && hud.font && hud.sprite && hud.white && hud.graph.texture &&
        hud.spectrum.texture)
        return true;
    ReleaseObjects(hud);
    hud.unit = unit;
    hud.spectrumStep = step;
    if (FAILED(D3DXCreateFontA(hud.device, kLine * unit, 0, 400, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "overlay", &hud.font)) ||
        FAILED(D3DXCreateSprite(hud.device, &hud.sprite)) ||
        FAILED(hud.device->CreateTexture(kWhiteWidth, kWhiteHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &hud.white,
                                         nullptr)) ||
        !MakeBars(hud.device, kGraphFrames * 2 * unit, kGraphHeight * unit, &hud.graph) ||
        !MakeBars(hud.device, (kSpectrumBands + step - 1) / step * unit, kSpectrumHeight * unit, &hud.spectrum))
        return false;
    D3DLOCKED_RECT locked;
    if (FAILED(hud.white->LockRect(0, &locked, nullptr, 0))) return false;
    for (int y = 0; y < kWhiteHeight; ++y)
        std::memset(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, 0xFF, kWhiteWidth * 4);
    hud.white->UnlockRect(0);
    return true;
}

// Paints column c of `bars` `heights[c]` pixels high from the bottom in
// `colors[c]`, the rest transparent; `columnWidth` pixels a column.
void Paint(Bars& bars, const int* heights, const D3DCOLOR* colors, int columns, int columnWidth) {
    D3DLOCKED_RECT locked;
    if (FAILED(bars.texture->LockRect(0, &locked, nullptr, 0))) return;
    for (int y = 0; y < bars.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
        const int fromBottom = bars.height - y;
        for (int c = 0; c < columns; ++c) {
            const uint32_t texel = heights[c] >= fromBottom ? colors[c] : 0u;
            std::fill(row + c * columnWidth, row + std::min(bars.width, (c + 1) * columnWidth), texel);
        }
    }
    bars.texture->UnlockRect(0);
}

void DrawBars(Hud& hud, const Bars& bars, int x, int y) {
    const RECT source = {0, 0, bars.width, bars.height};
    const D3DXVECTOR3 position(float(x), float(y), 0.0f);
    hud.sprite->Draw(bars.texture, &source, nullptr, &position, 0xFFFFFFFF);
}

// A filled rectangle in pixels, cut from the white texture (tiled where larger).
void Fill(Hud& hud, int x, int y, int width, int height, D3DCOLOR color) {
    for (int top = 0; top < height; top += kWhiteHeight) {
        for (int left = 0; left < width; left += kWhiteWidth) {
            const RECT source = {0, 0, std::min(kWhiteWidth, width - left), std::min(kWhiteHeight, height - top)};
            const D3DXVECTOR3 position(float(x + left), float(y + top), 0.0f);
            hud.sprite->Draw(hud.white, &source, nullptr, &position, color);
        }
    }
}

// Text on a dark backdrop just its size, legible on any picture. The batch
// is drawn first, so that with the font's own batches of glyphs the sprite
// never holds more than it was made for.
int Text(Hud& hud, int x, int y, const char* text, D3DCOLOR color) {
    hud.sprite->Flush();
    RECT rect = {x, y, x, y};
    hud.font->DrawTextA(hud.sprite, text, -1, &rect, DT_CALCRECT, color);
    Fill(hud, x - hud.unit, y, rect.right - rect.left + 2 * hud.unit, rect.bottom - rect.top, kPanel);
    return hud.font->DrawTextA(hud.sprite, text, -1, &rect, DT_LEFT | DT_TOP | DT_NOCLIP, color);
}

void RecordFrameTime(Hud& hud, Clock::time_point now) {
    if (hud.lastPresent != Clock::time_point()) {
        std::memmove(hud.frameMs, hud.frameMs + 1, sizeof hud.frameMs - sizeof hud.frameMs[0]);
        hud.frameMs[kGraphFrames - 1] = std::chrono::duration<float, std::milli>(now - hud.lastPresent).count();
        hud.frameCount = std::min(hud.frameCount + 1, kGraphFrames);
    }
    hud.lastPresent = now;
}

// "fragment_sobel.cpp" as "sobel"; a clear as "clear", a pass the manager
// did not load (a sprite's) as "sprite".
std::string_view PassName(const D3D9PassTime& pass) {
    if (!pass.pixelShader) return "clear";
    std::string_view name = g_demoState.resources ? g_demoState.resources->ShaderName(pass.pixelShader) : "";
    if (name.empty()) return "sprite";
    if (name.rfind("fragment_", 0) == 0) name.remove_prefix(9);
    if (name.size() > 4 && name.substr(name.size() - 4) == ".cpp") name.remove_suffix(4);
    return name;
}

// The previous frame's passes, one a line: time, draws, pixel shader, target.
void DescribePasses(Hud& hud) {
    IDirect3DSurface9* screen = nullptr;
    if (g_demoState.screenTexture) g_demoState.screenTexture->GetSurfaceLevel(0, &screen);
    if (screen) screen->Release();  // the texture holds it: only the address is compared
    char* out = hud.passes;
    const char* end = hud.passes + sizeof hud.passes;
    double total = 0.0;
    for (const D3D9PassTime& pass : D3D9_FramePasses(hud.device)) total += pass.milliseconds;
    out += std::snprintf(out, size_t(end - out), "passes %6.2f ms", total);
    IDirect3DSurface9* back = nullptr;
    if (SUCCEEDED(hud.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) back->Release();  // likewise
    for (const D3D9PassTime& pass : D3D9_FramePasses(hud.device)) {
        if (end - out < 64) break;
        const std::string_view name = PassName(pass);
        const char* target = pass.target == screen ? "screen" : pass.target == back ? "back" : "target";
        out += std::snprintf(out, size_t(end - out), "\n%6.2f %3u %-.*s > %s", pass.milliseconds, pass.draws,
                             int(std::min<size_t>(name.size(), 22)), name.data(), target);
    }
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
    if (!MakeObjects(hud, unit, int(desc.Width))) return;

    hud.device->BeginScene();
    hud.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    const int margin = kMargin * unit, line = kLine * unit;

    char lines[2][160];
    const Mirel::Effect* scene = s.activeEffects.empty() ? nullptr : s.activeEffects.front();
    std::snprintf(lines[0], sizeof lines[0], "%8.3f s   %s %7.3f s%s", s.time, scene ? SceneName(*scene) : "-",
                  scene ? s.time - scene->startTime : 0.0, RunPaused() ? "   PAUSED" : "");
    float sum = 0.0f, worst = 0.0f;
    for (int i = kGraphFrames - hud.frameCount; i < kGraphFrames; ++i) {
        sum += hud.frameMs[i];
        worst = std::max(worst, hud.frameMs[i]);
    }
    const float average = hud.frameCount ? sum / float(hud.frameCount) : 0.0f;
    // With passes timed, the overlay's first draw waits for the frame's last
    // pass, so its own time would mislead: the pass list shows it instead.
    const int written = std::snprintf(lines[1], sizeof lines[1], "%6.1f fps  %6.2f ms  worst %6.2f ms",
                                      average > 0 ? 1000.0f / average : 0.0f, average, worst);
    if (!hud.timing && written > 0 && size_t(written) < sizeof lines[1])
        std::snprintf(lines[1] + written, sizeof lines[1] - size_t(written), "  overlay %.2f ms",
                      hud.drawSeconds * 1000.0);

    // The lines, then the frame times, newest on the right, one pixel a
    // millisecond, over a dark backdrop.
    const int graphTop = margin + 2 * line + margin / 2;
    Fill(hud, margin, graphTop, hud.graph.width, hud.graph.height, kPanel);
    int y = margin;
    for (const char* text : lines) y += Text(hud, margin, y, text, kText);
    int heights[kSpectrumBands];
    D3DCOLOR colors[kSpectrumBands];
    for (int i = 0; i < kGraphFrames; ++i) {
        const float ms = hud.frameMs[i];
        heights[i] = std::clamp(int(ms * float(unit)), ms > 0 ? 1 : 0, hud.graph.height);
        colors[i] = ms > 33.4f ? 0xFFFF5050 : ms > 16.8f ? 0xFFFFD040 : 0xFF60FF60;
    }
    Paint(hud.graph, heights, colors, kGraphFrames, 2 * unit);
    DrawBars(hud, hud.graph, margin, graphTop);

    // The previous frame's passes down the right side, where the renderer times them.
    if (!hud.timing && g_timePasses) hud.timing = D3D9_SetPassTiming(hud.device, true);
    if (hud.timing) {
        DescribePasses(hud);
        Text(hud, int(desc.Width) - kPassColumn * unit, margin, hud.passes, kText);
    }

    // Notes under the panel.
    y = graphTop + hud.graph.height + margin;
    if (hud.note[0] && started < hud.noteUntil) y += Text(hud, margin, y, hud.note, kText);
    if (hud.shaderError[0]) Text(hud, margin, y, hud.shaderError, kWarning);

    // The spectrum along the bottom, lowest band on the left; after the scenes
    // stop reading it, it holds the last values read.
    if (s.music) {
        const int step = hud.spectrumStep, columns = (kSpectrumBands + step - 1) / step;
        for (int c = 0; c < columns; ++c) {
            float value = 0.0f;
            for (int k = c * step; k < (c + 1) * step && k < kSpectrumBands; ++k)
                value = std::max(value, s.music->spectrum[k]);
            heights[c] = std::min(hud.spectrum.height, int(std::sqrt(value) * 2.0f * float(hud.spectrum.height)));
            colors[c] = kSpectrumBar;
        }
        Paint(hud.spectrum, heights, colors, columns, unit);
        const int top = int(desc.Height) - margin - hud.spectrum.height;
        DrawBars(hud, hud.spectrum, margin, top);
        Text(hud, margin, top, s.music->spectrumEnabled ? "spectrum" : "spectrum (held: the scenes no longer read it)",
             kText);
    }
    hud.sprite->End();
    hud.device->EndScene();
    hud.drawSeconds = std::chrono::duration<double>(Clock::now() - started).count();
}

void CopyText(char* to, size_t size, const char* text) { std::snprintf(to, size, "%s", text ? text : ""); }

}  // namespace

void InstallHud(IDirect3DDevice9* device, bool shown) {
    ReleaseHud();
    g_hud.device = device;
    g_hud.shown = shown;
    if (device) D3D9_SetPresentHook(device, [] { Draw(g_hud); });
}

void ShowHud(bool shown) {
    g_hud.shown = shown;
    // Timing waits for the renderer: only while the overlay shows it.
    if (!shown && g_hud.timing && g_hud.device) D3D9_SetPassTiming(g_hud.device, false);
    if (!shown) g_hud.timing = false;
}

void HudFrameNotShown() { g_hud.lastPresent = Clock::time_point(); }
bool HudShown() { return g_hud.shown; }

void HudNote(const char* text) {
    CopyText(g_hud.note, sizeof g_hud.note, text);
    g_hud.noteUntil =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kNoteSeconds));
}

void HudShaderError(const char* text) { CopyText(g_hud.shaderError, sizeof g_hud.shaderError, text); }

void ReleaseHud() {
    // The device's hook stays; with no device here it draws nothing.
    ReleaseObjects(g_hud);
    g_hud = Hud();
}

void HudTimePasses(bool allowed) {
    g_timePasses = allowed;
    if (!allowed && g_hud.timing && g_hud.device) D3D9_SetPassTiming(g_hud.device, false);
    if (!allowed) g_hud.timing = false;
}

double HudDrawSeconds() { return g_hud.drawSeconds; }
