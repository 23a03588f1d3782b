// What a generator run produces: the files of the content folder, by bare
// name, in name order, plus (when a contact sheet is wanted) reduced copies
// of every texture and the meshes, for the sheet's previews.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tools/contentgen/image.h"
#include "tools/contentgen/mesh.h"

namespace gen {

class AssetSet {
public:
    explicit AssetSet(bool keepPreviews) : keepPreviews(keepPreviews) {}

    void AddFile(const std::string& name, std::vector<uint8_t> bytes);
    void AddFile(const std::string& name, const std::string& text);
    // A texture's level 0, kept at no more than 512 texels a side for previews.
    void AddPreview(const std::string& name, const Image& image);
    void AddMeshPreview(const std::string& name, const Mesh& mesh);

    const std::map<std::string, std::vector<uint8_t>>& Files() const { return files; }
    const std::map<std::string, Image>& Previews() const { return previews; }
    // The full size of a previewed texture, as its file holds it.
    std::pair<int, int> FullSize(const std::string& name) const { return sizes.at(name); }
    const std::map<std::string, Mesh>& Meshes() const { return meshes; }
    bool KeepsPreviews() const { return keepPreviews; }

private:
    bool keepPreviews;
    std::mutex mutex;
    std::map<std::string, std::vector<uint8_t>> files;
    std::map<std::string, Image> previews;
    std::map<std::string, std::pair<int, int>> sizes;
    std::map<std::string, Mesh> meshes;
};

}  // namespace gen
