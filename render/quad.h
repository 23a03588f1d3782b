// One textured rectangle covering the whole render target, drawn with a
// caller-chosen shader pair into the current target or into a texture, and
// the plain composite of the screen texture that uses it.
#pragma once

#include "platform/d3dx9/d3dx9.h"

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

private:
    bool CreateBuffers(IDirect3DDevice9* device);
    bool bufferFailureShown = false;
};

// Draws `texture` over the current render target with the plain full-screen pair.
void DrawPlainTexture(IDirect3DBaseTexture9* texture);
// The composite of a frame that no effect post-processes.
void DrawScreenTexture();
