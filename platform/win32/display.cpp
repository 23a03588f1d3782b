// The display: its size and the modes EnumDisplaySettingsA reports, from SDL
// or, headless, from a fixed list shaped like a real driver's.
#include <cstring>
#include <vector>

#include "platform/win32/win32_internal.h"

namespace {

constexpr int kHeadlessWidth = 1920;
constexpr int kHeadlessHeight = 1080;

// What a driver reports: each size at 16 and 32 bits and at 60 and 75 Hz,
// grouped by depth, sizes in the driver's own order (not sorted).
std::vector<Win32DisplayMode> DefaultModes() {
    const int sizes[][2] = {{640, 480},  {800, 600},   {1024, 768},  {1152, 864}, {1280, 1024}, {1280, 720},
                            {1280, 768}, {1280, 800},  {1280, 960},  {1360, 768}, {1366, 768},  {1440, 900},
                            {1600, 900}, {1600, 1200}, {1680, 1050}, {1920, 1080}};
    std::vector<Win32DisplayMode> modes;
    for (int bits : {16, 32})
        for (const auto& size : sizes)
            for (int hz : {60, 75}) modes.push_back({size[0], size[1], bits, hz});
    return modes;
}

std::vector<Win32DisplayMode>& HeadlessModes() {
    static std::vector<Win32DisplayMode> modes = DefaultModes();
    return modes;
}

bool ModeAt(DWORD index, Win32DisplayMode* mode) {
    if (!win32::Headless()) return win32::SdlDisplayMode(index, mode);
    if (index == ENUM_CURRENT_SETTINGS) {
        *mode = {kHeadlessWidth, kHeadlessHeight, 32, 60};
        return true;
    }
    const auto& modes = HeadlessModes();
    if (index >= modes.size()) return false;
    *mode = modes[index];
    return true;
}

}  // namespace

void Win32_SetHeadlessDisplayModes(const Win32DisplayMode* modes, int count) {
    if (!modes || count < 0)
        HeadlessModes() = DefaultModes();
    else
        HeadlessModes().assign(modes, modes + count);
}

void win32::ResetDisplayModes() { Win32_SetHeadlessDisplayModes(nullptr, -1); }

int WINAPI GetSystemMetrics(int index) {
    int width = kHeadlessWidth, height = kHeadlessHeight;
    if (!win32::Headless()) win32::SdlScreenSize(&width, &height);
    switch (index) {
    case SM_CXSCREEN: return width;
    case SM_CYSCREEN: return height;
    default: return 0;
    }
}

BOOL WINAPI EnumDisplaySettingsA(LPCSTR deviceName, DWORD modeNum, DEVMODEA* devMode) {
    // Only the current display device (a null name) is known.
    if (deviceName || !devMode || devMode->dmSize < offsetof(DEVMODEA, dmDisplayFrequency) + sizeof(DWORD))
        return FALSE;
    Win32DisplayMode mode;
    if (!ModeAt(modeNum, &mode)) return FALSE;
    WORD size = devMode->dmSize;
    std::memset(devMode, 0, size);
    devMode->dmSize = size;
    std::strncpy(reinterpret_cast<char*>(devMode->dmDeviceName), "DISPLAY1", sizeof devMode->dmDeviceName - 1);
    devMode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    devMode->dmBitsPerPel = static_cast<DWORD>(mode.bitsPerPel);
    devMode->dmPelsWidth = static_cast<DWORD>(mode.width);
    devMode->dmPelsHeight = static_cast<DWORD>(mode.height);
    devMode->dmDisplayFrequency = static_cast<DWORD>(mode.frequency);
    return TRUE;
}
