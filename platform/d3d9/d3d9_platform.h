// Controls of the Direct3D 9 stand-in that Direct3D itself does not have.
//
// Backends, chosen before Direct3DCreate9:
// - OpenGL: OpenGL 3.3 core through libepoxy, on the SDL window behind the
//   device window, or headless through EGL (Mesa's llvmpipe where there is no
//   GPU) when the window has no SDL window.
// - Recording: draws nothing, keeps resources in memory (locks work), and logs
//   every device call with its arguments, for tests that check the calls an
//   effect makes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"

enum class D3D9Backend { OpenGL, Recording };

void D3D9_SetBackend(D3D9Backend backend);
D3D9Backend D3D9_GetBackend();

// The OpenGL the OpenGL backend makes its contexts with, chosen before the
// first device or shader check: desktop OpenGL 3.3 core, or OpenGL ES 3.0 used
// only as far as WebGL 2 goes (the entry points listed in gl_renderer.h), the
// shaders compiled as GLSL ES 3.00. A web page always runs the second.
enum class D3D9GLApi { Desktop, Es3 };
void D3D9_SetGLApi(D3D9GLApi api);
D3D9GLApi D3D9_GetGLApi();

// The picture of the last Present, RGBA8, top row first. False when nothing
// has been presented yet (on the recording backend: always false).
bool D3D9_ReadPresented(IDirect3DDevice9* device, std::vector<uint8_t>* rgba, int* width, int* height);

// Recording backend: one line per call, "Name(arg, arg, ...)", for every
// method of the device and for the data calls of its resources (locks,
// GetSurfaceLevel, state block Capture/Apply). The line format:
// - objects by label, numbered per device in order of creation:
//   "Texture#3", "CubeTexture#4", "Surface#5" (depth-stencil), "VertexBuffer#6",
//   "IndexBuffer#7", "VertexDeclaration#8", "VertexShader#9", "PixelShader#10",
//   "StateBlock#11"; a texture level "Texture#3.0" (cube: "CubeTexture#4.face.level");
//   the device's own "BackBuffer.0" and "AutoDepthStencil"; "NULL" for none;
// - enumerations by name ("D3DRS_CULLMODE", "D3DCULL_CCW", "D3DTADDRESS_CLAMP",
//   "TRUE"/"FALSE" for boolean states), flags joined by '|'
//   ("D3DCLEAR_TARGET|D3DCLEAR_ZBUFFER"), colours and masks as 0x%08x;
// - floats with %g, float arrays in brackets ("[0.5, 1, 0, 0]"), all the
//   registers of a SetVertexShaderConstantF/SetPixelShaderConstantF in one list;
// - what a call hands back after " -> ": "CreateTexture(...) -> Texture#3",
//   "GetRenderTarget(0) -> BackBuffer.0", failures as " -> D3DERR_INVALIDCALL";
// - resource calls prefixed with the resource: "VertexBuffer#6.Lock(0, 80, 0)".
// Examples: "SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)",
// "SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP)",
// "SetTexture(0, Texture#3)", "DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)",
// "Clear(0, NULL, D3DCLEAR_TARGET, 0x00000000, 1, 0)".
// The OpenGL backend records nothing, and builds no line either.
const std::vector<std::string>& D3D9_RecordedCalls(IDirect3DDevice9* device);
void D3D9_ClearRecordedCalls(IDirect3DDevice9* device);
// Recording backend: the log is kept from the device's creation on; off, calls
// are neither logged nor formatted (as on OpenGL), on again, logging resumes.
void D3D9_SetCallLog(IDirect3DDevice9* device, bool on);

// Recording backend, for failure paths: the next `count` calls of the device
// method `name` (one of the Create... methods, e.g. "CreateVertexBuffer") fail
// with D3DERR_OUTOFVIDEOMEMORY and create nothing; count -1 means every call
// from now on, 0 stops refusing. Logged as usual, with the failure as result.
void D3D9_RefuseCalls(IDirect3DDevice9* device, const std::string& name, int count);

// Discarding: while on, Clear, the Draw calls and Present change no pixel
// (nothing reaches OpenGL, the presented picture stays the last one made
// with discarding off) but are still checked and still return what they
// would; every state call, resource call and lock works as usual, and Present
// still advances the fixed-step clock. A frame run this way leaves the device
// in exactly the state a drawn frame leaves. The recording backend logs each
// discarded call with " -> discarded" after it.
void D3D9_SetDiscarding(IDirect3DDevice9* device, bool discarding);
bool D3D9_Discarding(IDirect3DDevice9* device);

// An overlay: `hook` runs at the start of every Present that is not
// discarded, outside BeginScene/EndScene, with the targets the frame left
// (the back buffer), so that a tool can draw over the finished picture before
// it is shown and read back. Empty: none.
void D3D9_SetPresentHook(IDirect3DDevice9* device, std::function<void()> hook);

// The device's whole state, as far as any call can change or read it: every
// render, sampler and texture-stage state, bound textures, shaders and their
// constants, clip planes, transforms, render targets, depth surface,
// viewport and vertex input, with references held on what is bound.
// Restoring it puts the device back exactly so (and sends it all to the
// renderer again); resources themselves are not part of it. For a run that
// goes back to a moment it has passed.
struct D3D9SavedState;
std::shared_ptr<D3D9SavedState> D3D9_SaveState(IDirect3DDevice9* device);
void D3D9_RestoreState(IDirect3DDevice9* device, const D3D9SavedState& saved);

// Compiling only: while on, the Draw calls reach OpenGL with rasterization
// off and only their first primitive, so that the driver builds the shader
// programs and the state variants they need, but no pixel changes; Clear
// changes nothing either. Cheaper than drawing, for warming the driver up
// before the frames that count.
void D3D9_SetCompilingOnly(IDirect3DDevice9* device, bool on);
bool D3D9_CompilingOnly(IDirect3DDevice9* device);

// Whether textures of `format` can be created on `device`. DXT1/3/5 need
// S3TC support on OpenGL; where it is missing, loaders decode to A8R8G8B8.
bool D3D9_SupportsFormat(IDirect3DDevice9* device, D3DFORMAT format);

// The largest texture or render target side (a back buffer included) the
// OpenGL backend can make, asked of a headless context before any device
// exists: the renderer's GL_MAX_TEXTURE_SIZE, at most the stand-in's own limit
// of 16384. That limit alone where no context can be made.
UINT D3D9_MaxTextureSize();

// Pass timing (OpenGL backend), for timing tools and overlays: while on, each
// pass of a frame is measured, a pass being the draws and clears one after
// another into the same render target 0 with the same shader pair: with GL
// timer queries, or on llvmpipe (which runs a target's draws tile by tile, so
// that a query spans more than its pass) by finishing each pass and reading
// the clock. After each Present, D3D9_FramePasses gives the passes of the
// frame just presented, in order, until the next Present. Timed frames wait
// for the GL, so they cost a little more while timing is on; they allocate
// nothing. D3D9_SetPassTiming returns false (and timing stays off) on the
// recording backend or a context that can do neither. The pointers identify objects (compare them with the shaders
// and surfaces you hold); they are not references and may be stale.
struct D3D9PassTime {
    IDirect3DVertexShader9* vertexShader;  // null for a clear
    IDirect3DPixelShader9* pixelShader;    // null for a clear
    IDirect3DSurface9* target;             // render target 0
    UINT draws;                            // draws and clears in the pass
    double milliseconds;                   // time the GL took for the pass
};
bool D3D9_SetPassTiming(IDirect3DDevice9* device, bool on);
const std::vector<D3D9PassTime>& D3D9_FramePasses(IDirect3DDevice9* device);
