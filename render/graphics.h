// The graphics device, the shared render objects, the full-screen quad and
// the screen composite.
#pragma once

#include "platform/d3dx9/d3dx9.h"

// Brings up the device, the screen targets, the clock and the shared
// services; false after a failure that has been reported in a message box.
bool InitGraphics();
IDirect3DTexture9* CreateScreenTexture();

// Debug-text objects: made at start-up, never drawn with.
struct DebugFont {
    explicit DebugFont(IDirect3DDevice9* device);
    ID3DXFont* font = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXSprite* sprite = nullptr;
};

// One textured rectangle covering the whole render target, drawn with a
// caller-chosen shader pair into the current target or into a texture.
class Quad {
public:
    Quad(float texelWidth, float texelHeight);
    virtual ~Quad();
    Quad(const Quad&) = delete;
    Quad& operator=(const Quad&) = delete;

    void Draw(IDirect3DTexture9* target, IDirect3DDevice9* device, IDirect3DVertexShader9* vertexShader,
              IDirect3DPixelShader9* pixelShader, bool clear);

    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
    float texelSize[2];
};

void DrawScreenTexture();
void DrawLoadingScreen(IDirect3DTexture9* texture);
