// Measures the passes of a frame on the GL side: a pass is a run of draws and
// clears, one after another, into the same render target 0 with the same
// shader pair. Two ways, chosen when timing is switched on:
// - timer queries: one GL_TIME_ELAPSED query spans each pass; at Present the
//   results of the frame are read, waiting for the GL to finish them;
// - finishing: on a rasterizer that bins a whole target's draws and runs them
//   tile by tile (Mesa's llvmpipe), a query spans from the first tile to the
//   last and says nothing about its pass; there each pass ends with glFinish
//   and is timed by the clock.
// The results are kept as the last frame's passes until the next Present.
// Storage is reserved when timing is switched on, so a timed frame allocates
// nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"

namespace d3d9 {

class PassTimer {
public:
    ~PassTimer();
    enum class Method { Queries, Finish };
    void SetOn(bool on, Method method);
    bool On() const { return on; }
    // Before a draw (`vs`, `ps` bound) or a clear (both null) into `target`.
    void Mark(IDirect3DVertexShader9* vs, IDirect3DPixelShader9* ps, IDirect3DSurface9* target);
    // At Present: closes the frame's last pass and reads every result.
    void EndFrame();
    const std::vector<D3D9PassTime>& LastFrame() const { return last; }

private:
    static constexpr size_t kMaxPasses = 256;  // further passes of a frame count with the last
    void Close();

    bool on = false;
    bool open = false;
    Method method = Method::Queries;
    std::chrono::steady_clock::time_point started;
    std::vector<uint32_t> queries;
    std::vector<D3D9PassTime> current;
    std::vector<D3D9PassTime> last;
};

}  // namespace d3d9
