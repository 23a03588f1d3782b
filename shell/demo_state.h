// The single global record through which every part of the demo reaches the
// device, the clock, the shared services, the scene and the timeline.
#pragma once

#include <cstdint>
#include <queue>
#include <vector>

#include "platform/d3dx9/d3dx9.h"
#include "scene/mesh_object.h"
#include "timeline/effect.h"

class Camera;
class MusicPlayer;
class Quad;
struct DebugFont;
namespace Mirel {
class ResourceManager;
class System;
}  // namespace Mirel

struct DemoState {
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    int64_t prevCounter = 0;
    int64_t curCounter = 0;
    double secondsPerTick = 0.0;
    ID3DXSprite* sprite = nullptr;
    double frameDelta = 0.0;
    double time = 0.0;
    double endTime = 0.0;
    bool quit = false;
    Camera* camera = nullptr;
    Mirel::ResourceManager* resources = nullptr;
    MusicPlayer* music = nullptr;
    DebugFont* debugFont = nullptr;
    Quad* quad = nullptr;
    Mirel::System* system = nullptr;
    std::vector<Mirel::XMeshObj> meshes;
    std::vector<Mirel::Effect*> activeEffects;
    std::priority_queue<Mirel::Effect*, std::vector<Mirel::Effect*>, Mirel::EffectStartsLater> pendingEffects;
    IDirect3DTexture9* screenTexture = nullptr;
    IDirect3DSurface9* screenDepth = nullptr;
    IDirect3DSurface9* savedBackBuffer = nullptr;
    IDirect3DSurface9* savedDepth = nullptr;
};

extern DemoState g_demoState;
