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
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"

enum class D3D9Backend { OpenGL, Recording };

void D3D9_SetBackend(D3D9Backend backend);
D3D9Backend D3D9_GetBackend();

// The picture of the last Present, RGBA8, top row first. False when nothing
// has been presented yet (on the recording backend: always false).
bool D3D9_ReadPresented(IDirect3DDevice9* device, std::vector<uint8_t>* rgba, int* width, int* height);

// Recording backend: one line per device call, "Name(arg, arg, ...)".
const std::vector<std::string>& D3D9_RecordedCalls(IDirect3DDevice9* device);
void D3D9_ClearRecordedCalls(IDirect3DDevice9* device);
