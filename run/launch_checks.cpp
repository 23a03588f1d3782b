#include "run/launch_checks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

std::string CheckResourcePack(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    const std::string shown = ec ? path : full.lexically_normal().string();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "cannot read the resource pack " + shown + ": " + std::strerror(errno);
    struct stat info {};
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    close(fd);
    if (!regular) return "the resource pack " + shown + " is not a file";
    return "";
}

std::string CheckModeFits(const DemoOptions& options, unsigned largestSide) {
    if (!options.hasMode) return "";
    if (unsigned(options.width) <= largestSide && unsigned(options.height) <= largestSide) return "";
    return "--mode: " + std::to_string(options.width) + "x" + std::to_string(options.height) +
           " is larger than the renderer's largest texture (" + std::to_string(largestSide) + " pixels a side)";
}
