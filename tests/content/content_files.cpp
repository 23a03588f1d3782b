#include "tests/content/content_files.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <iterator>
#include <memory>

#include "resources/resource_pack.h"

namespace content_test {

std::string ContentDir() { return std::string(DEMO_BINARY_DIR) + "/content"; }
std::string PackPath() { return std::string(DEMO_BINARY_DIR) + "/data.pak"; }
std::string MusicPath() { return std::string(DEMO_BINARY_DIR) + "/music/music.mp3"; }

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> PackEntry(const std::string& name, bool* found) {
    static std::unique_ptr<ResourcePack> pack;
    if (!pack) {
        pack = std::make_unique<ResourcePack>();
        pack->Open(PackPath().c_str());
    }
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> bytes(pack->ReadEntry(name.c_str(), &size));
    if (found) *found = bytes != nullptr;
    if (!bytes) return {};
    return std::vector<uint8_t>(bytes.get(), bytes.get() + size);
}

std::vector<std::string> ContentFiles(std::initializer_list<const char*> extensions) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ContentDir()))
        for (const char* extension : extensions)
            if (entry.path().extension() == extension) names.insert(entry.path().filename().string());
    return {names.begin(), names.end()};
}

std::vector<std::string> NamesTheCodeAsksFor() {
    // Resource names appear in the code as literals: "Textures//x.png",
    // "Media//y.X", "vertex_z.cpp", "fragment_w.cpp".
    static const std::regex literal(R"re("((?:Textures|Media)//[^"/]+|(?:vertex|fragment)_[A-Za-z0-9_]+\.cpp)")re");
    std::set<std::string> names;
    for (const char* folder : {"shell", "render", "resources", "timeline", "scene", "sound", "effects"}) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(DEMO_SOURCE_DIR) + "/" + folder)) {
            std::vector<uint8_t> bytes = ReadFile(entry.path().string());
            std::string text(bytes.begin(), bytes.end());
            for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) {
                std::string name = (*it)[1];
                names.insert(name.substr(name.rfind('/') + 1));
            }
        }
    }
    return {names.begin(), names.end()};
}

}  // namespace content_test
