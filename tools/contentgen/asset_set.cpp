#include "tools/contentgen/asset_set.h"

#include <algorithm>

namespace gen {

void AssetSet::AddFile(const std::string& name, std::vector<uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(mutex);
    files[name] = std::move(bytes);
}

void AssetSet::AddFile(const std::string& name, const std::string& text) {
    AddFile(name, std::vector<uint8_t>(text.begin(), text.end()));
}

void AssetSet::AddPreview(const std::string& name, const Image& image) {
    if (!keepPreviews) return;
    int longest = std::max(image.Width(), image.Height());
    Image small = longest > 512 ? image.Resized(std::max(1, image.Width() * 512 / longest),
                                                std::max(1, image.Height() * 512 / longest))
                                : image;
    std::lock_guard<std::mutex> lock(mutex);
    previews[name] = std::move(small);
    sizes[name] = {image.Width(), image.Height()};
}

void AssetSet::AddMeshPreview(const std::string& name, const Mesh& mesh) {
    if (!keepPreviews) return;
    std::lock_guard<std::mutex> lock(mutex);
    meshes[name] = mesh;
}

}  // namespace gen
