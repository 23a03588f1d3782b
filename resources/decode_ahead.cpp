#include "resources/decode_ahead.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "platform/d3dx9/d3dx9_platform.h"
#include "resources/resource_manager.h"
#include "resources/resource_pack.h"

namespace Mirel {

namespace {

// Meshes and pictures; DDS files are decoded by their loaders.
bool DecodesAhead(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* known : {"x", "jpg", "jpeg", "png", "tga", "bmp"})
        if (extension == known) return true;
    return false;
}

}  // namespace

PackDecodeAhead::PackDecodeAhead(std::vector<std::string> first, const char* packPath) {
    D3DX_StartDecodingAhead();
    worker = std::thread([this, order = std::move(first), path = std::string(packPath)]() mutable {
        ResourcePack pack;
        if (!pack.Open(path.c_str())) return;
        std::vector<std::string> rest;
        for (const ResourcePack::Entry* entry = pack.Directory(); entry; entry = entry->next)
            rest.emplace_back(entry->name, strnlen(entry->name, sizeof(entry->name)));
        std::reverse(rest.begin(), rest.end());  // the directory lists its last entry first
        for (std::string& name : rest)
            if (DecodesAhead(name) && std::find(order.begin(), order.end(), name) == order.end())
                order.push_back(std::move(name));
        std::vector<std::string> textures;
        for (size_t at = 0; at < order.size() && !stop.load(std::memory_order_acquire); ++at) {
            uint32_t size = 0;
            std::unique_ptr<uint8_t[]> bytes(pack.ReadEntry(order[at].c_str(), &size));
            if (!bytes) continue;
            textures.clear();
            D3DX_DecodeAhead(bytes.get(), size, &textures);
            // A mesh's textures are loaded right after it: they come next.
            size_t next = at + 1;
            for (const std::string& file : textures) {
                std::string name(StripResourceName(file));
                if (!DecodesAhead(name)) continue;
                const size_t queued = size_t(std::find(order.begin(), order.end(), name) - order.begin());
                if (queued < next) continue;  // decoded already, or the mesh itself
                if (queued < order.size()) order.erase(order.begin() + static_cast<ptrdiff_t>(queued));
                order.insert(order.begin() + static_cast<ptrdiff_t>(next++), std::move(name));
            }
        }
    });
}

PackDecodeAhead::~PackDecodeAhead() {
    stop.store(true, std::memory_order_release);
    worker.join();
    D3DX_StopDecodingAhead();
}

}  // namespace Mirel
