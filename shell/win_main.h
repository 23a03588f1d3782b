// The program's life in one straight line: loader dialog, window, device,
// loading, timeline, music, frame loop, shutdown.
#pragma once

#include "platform/win32/windows.h"
#include "scene/mesh_object.h"

// Status when the demo window or the graphics device cannot be created.
constexpr int kExitStartupFailed = 1;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

// Appends a copy of a scene mesh to DemoState.meshes.
void AddMesh(const Mirel::XMeshObj& mesh);
// Releases the device and the shared services, in that order.
void ReleaseShared();
