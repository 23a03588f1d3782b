#include "run/png_file.h"

#include <stb_image_write.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

void Append(void* context, void* data, int size) {
    auto* png = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    png->insert(png->end(), bytes, bytes + size);
}

}  // namespace

std::string SavePng(const std::string& path, const uint8_t* rgba, int width, int height) {
    std::vector<uint8_t> png;
    if (!stbi_write_png_to_func(Append, &png, width, height, 4, rgba, width * 4)) return "it cannot be encoded";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return std::strerror(errno);
    int error = 0;
    if (std::fwrite(png.data(), 1, png.size(), file) != png.size()) error = errno ? errno : EIO;
    if (std::fclose(file) != 0 && error == 0) error = errno ? errno : EIO;
    if (error == 0) return "";
    std::error_code ec;
    if (std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::regular)
        std::filesystem::remove(path, ec);
    return std::strerror(error);
}

bool WritePngFile(const std::string& path, std::vector<uint8_t>& rgba, int width, int height) {
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    const std::string why = SavePng(path, rgba.data(), width, height);
    if (why.empty()) return true;
    std::fprintf(stderr, "Could not write the picture \"%s\": %s.\n", path.c_str(), why.c_str());
    return false;
}
