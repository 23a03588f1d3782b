// Decoding the pack's meshes and pictures ahead of their loading, on a
// thread of its own, while the main thread creates the device and loads what
// it needs in its own order. The D3DX loaders take what was decoded ahead
// (matched by the files' bytes) and decode the rest themselves, so every file
// is decoded once, by whichever thread reaches it first.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace Mirel {

class PackDecodeAhead {
public:
    // Starts on the entries named in `first` (bare pack names, e.g.
    // "Loading.jpg"), then takes every other entry of the pack in its order.
    explicit PackDecodeAhead(std::vector<std::string> first, const char* packPath = "data.pak");
    // Stops after the file in hand; what no loader took is dropped.
    ~PackDecodeAhead();
    PackDecodeAhead(const PackDecodeAhead&) = delete;
    PackDecodeAhead& operator=(const PackDecodeAhead&) = delete;

private:
    std::atomic<bool> stop{false};
    std::thread worker;
};

}  // namespace Mirel
