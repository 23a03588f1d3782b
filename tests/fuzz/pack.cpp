// Fuzz target for the resource pack reader: the input is written out as a
// pack file, its directory read, and every entry the directory lists read.
// The file lives in memory (memfd) and is opened through /proc/self/fd, so no
// temporary file is left behind, however the run ends.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tools/pack/pack_writer.h"
#include "resources/resource_pack.h"

namespace {

int PackFd() {
    static const int fd = memfd_create("fuzz_pack", 0);
    return fd;
}

std::vector<uint8_t> Text(const char* text) { return {text, text + std::strlen(text)}; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int fd = PackFd();
    if (fd < 0 || ftruncate(fd, 0) != 0) return 0;
    for (size_t written = 0; written < size;) {
        ssize_t n = pwrite(fd, data + written, size - written, static_cast<off_t>(written));
        if (n <= 0) return 0;
        written += static_cast<size_t>(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

    ResourcePack pack;
    pack.Open(path.c_str());
    // Each name once, entries of up to kMaxEntry bytes, and no more than
    // kMaxRead read in all: thousands of entries that each span the whole
    // input would otherwise make one input take quadratic time, and a large
    // entry costs time in copying, not in paths.
    constexpr uint32_t kMaxEntry = 4096;
    constexpr size_t kMaxRead = 64 * 1024;
    std::set<std::string> names;
    for (const ResourcePack::Entry* entry = pack.Directory(); entry; entry = entry->next)
        if (entry->size <= kMaxEntry) names.emplace(entry->name, strnlen(entry->name, sizeof(entry->name)));
    size_t read = 0;
    for (const std::string& name : names) {
        if (read > kMaxRead) break;
        uint32_t length = 0;
        std::unique_ptr<uint8_t[]> bytes(pack.ReadEntry(name.c_str(), &length));
        if (bytes && length > 0) {
            volatile uint8_t last = bytes[length - 1];
            (void)last;
            read += length;
        }
    }
    return 0;
}

extern "C" void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds) {
    const std::vector<PackFile> files = {
        {"first.png", {0, 1, 2, 0x7F, 0x80, 0xFF}},
        {"vertex_base.cpp", Text("void main() { gl_Position = vec4(0.0); }")},
        {"empty", {}},
        {"first.png", Text("later duplicate")},
    };
    for (uint32_t mode : {0u, 1u}) {
        for (uint32_t key : {0u, 0x6Bu, 0x1FFu}) {
            std::vector<uint8_t> bytes;
            std::string error;
            if (BuildPack(files, mode, key, bytes, error)) seeds.push_back(bytes);
        }
    }
    std::vector<uint8_t> none;
    std::string error;
    if (BuildPack({}, 1, 0x10, none, error)) seeds.push_back(none);
}
