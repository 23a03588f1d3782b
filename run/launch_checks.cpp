#include "run/launch_checks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <string_view>
#include <vector>

#include "resources/pack_format.h"

namespace {

// Reads `size` bytes at the start of the file; false when it cannot.
bool ReadStart(int fd, uint8_t* bytes, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(fd, bytes + done, size - done, off_t(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += size_t(got);
    }
    return true;
}

// What is wrong with the directory of the pack open on `fd`, `length` bytes
// long; empty when nothing is.
std::string DirectoryProblem(int fd, uint64_t length) {
    const std::string ofTheFile = " (the file has " + std::to_string(length) + " bytes)";
    uint8_t raw[kPackHeaderSize];
    if (length < kPackHeaderSize || !ReadStart(fd, raw, sizeof raw))
        return "it is shorter than its " + std::to_string(kPackHeaderSize) + "-byte header" + ofTheFile;
    const PackHeader header = DecodePackHeader(raw);
    const uint64_t directoryEnd = kPackHeaderSize + uint64_t{header.count} * kPackEntrySize;
    if (directoryEnd > length)
        return "its directory of " + std::to_string(header.count) + " entries runs past the end of the file" +
               ofTheFile;
    std::vector<uint8_t> directory(static_cast<size_t>(directoryEnd));
    if (!ReadStart(fd, directory.data(), directory.size()))
        return std::string("cannot be read: ") + std::strerror(errno);
    std::map<std::string, uint32_t, std::less<>> seen;  // name, entry number
    for (uint32_t i = 0; i < header.count; ++i) {
        uint8_t* bytes = directory.data() + kPackHeaderSize + size_t{i} * kPackEntrySize;
        for (size_t k = 0; k < kPackEntrySize; ++k) bytes[k] = PackUnscramble(bytes[k], header);
        const PackDirectoryRecord entry = DecodePackEntry(bytes);
        const std::string_view name(entry.name, strnlen(entry.name, kPackNameSize));
        const std::string number = "entry " + std::to_string(i + 1) + " of " + std::to_string(header.count);
        if (std::string problem = PackNameProblem(name); !problem.empty()) return number + ": " + problem;
        if (uint64_t{entry.offset} + entry.size > length)
            return number + ", " + PackNameShown(name) + ", runs past the end of the file (offset " +
                   std::to_string(entry.offset) + ", size " + std::to_string(entry.size) + ")" + ofTheFile;
        const auto [first, added] = seen.emplace(name, i + 1);
        if (!added)
            return "entries " + std::to_string(first->second) + " and " + std::to_string(i + 1) + " are both named " +
                   PackNameShown(name);
    }
    return "";
}

}  // namespace

std::string CheckResourcePack(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    const std::string shown = ec ? path : full.lexically_normal().string();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "cannot read the resource pack " + shown + ": " + std::strerror(errno);
    struct stat info {};
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const std::string problem = regular ? DirectoryProblem(fd, uint64_t(info.st_size)) : "";
    close(fd);
    if (!regular) return "the resource pack " + shown + " is not a file";
    if (!problem.empty()) return "the resource pack " + shown + " is damaged: " + problem;
    return "";
}

std::string CheckModeFits(const DemoOptions& options, unsigned largestSide) {
    if (!options.hasMode) return "";
    if (unsigned(options.width) <= largestSide && unsigned(options.height) <= largestSide) return "";
    return "--mode: " + std::to_string(options.width) + "x" + std::to_string(options.height) +
           " is larger than the renderer's largest texture (" + std::to_string(largestSide) + " pixels a side)";
}
