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

bool Fail(const std::string& path, const char* why) {
    std::fprintf(stderr, "Could not write the picture \"%s\": %s.\n", path.c_str(), why);
    return false;
}

}  // namespace

bool WritePngFile(const std::string& path, std::vector<uint8_t>& rgba, int width, int height) {
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    std::vector<uint8_t> png;
    if (!stbi_write_png_to_func(Append, &png, width, height, 4, rgba.data(), width * 4))
        return Fail(path, "it cannot be encoded");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return Fail(path, std::strerror(errno));
    int error = 0;
    if (std::fwrite(png.data(), 1, png.size(), file) != png.size()) error = errno ? errno : EIO;
    if (std::fclose(file) != 0 && error == 0) error = errno ? errno : EIO;
    if (error == 0) return true;
    std::error_code ec;
    if (std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::regular)
        std::filesystem::remove(path, ec);
    return Fail(path, std::strerror(error));
}
