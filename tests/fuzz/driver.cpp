// Bounded stand-alone driver for the fuzz targets when libFuzzer is not used.
// Feeds the target its seeds (from FuzzSeeds, if the target defines it, and
// from any files or folders named on the command line), then --runs=N
// deterministic mutations of them: bit flips, byte changes, truncations,
// insertions and splices. A crash or sanitizer report fails the test.
//
// With --write-seeds=DIR it runs nothing and writes the seed corpus of a
// libFuzzer build instead: the built-in seeds as "builtin-NN" and each file
// named as "<its folder>-<its name>"; --max-size=N leaves out files over N
// bytes, or, with --cut, keeps their first N bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds);

namespace {

uint64_t state = 0x9E3779B97F4A7C15ull;
uint64_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

void AddFile(const std::filesystem::path& path, std::vector<std::vector<uint8_t>>& seeds) {
    std::ifstream in(path, std::ios::binary);
    seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) std::fprintf(stderr, "fuzz driver: could not write %s\n", path.c_str());
    return static_cast<bool>(out);
}

// The seed corpus folder of a libFuzzer build; 0 when every file was written.
int WriteSeeds(const std::filesystem::path& folder, const std::vector<std::vector<uint8_t>>& builtIn,
               const std::vector<std::filesystem::path>& files, size_t maxSize, bool cut) {
    size_t written = 0, cutShort = 0, leftOut = 0;
    for (size_t i = 0; i < builtIn.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "builtin-%02zu", i);
        if (!WriteFile(folder / name, builtIn[i])) return 1;
        ++written;
    }
    for (const auto& file : files) {
        std::vector<std::vector<uint8_t>> read;
        AddFile(file, read);
        std::vector<uint8_t>& bytes = read.back();
        if (maxSize && bytes.size() > maxSize) {
            if (!cut) {
                ++leftOut;
                continue;
            }
            bytes.resize(maxSize);
            ++cutShort;
        }
        std::string name = file.parent_path().filename().string() + "-" + file.filename().string();
        if (!WriteFile(folder / name, bytes)) return 1;
        ++written;
    }
    std::printf(
        "fuzz driver: %zu seeds written to %s (%zu built in, %zu cut to %zu bytes, %zu files over it left out)\n",
        written, folder.c_str(), builtIn.size(), cutShort, maxSize, leftOut);
    return 0;
}

std::vector<uint8_t> Mutate(const std::vector<uint8_t>& base, const std::vector<std::vector<uint8_t>>& seeds) {
    std::vector<uint8_t> data = base;
    int edits = 1 + static_cast<int>(Next() % 8);
    for (int e = 0; e < edits; ++e) {
        switch (Next() % 6) {
        case 0:  // flip a bit
            if (!data.empty()) data[Next() % data.size()] ^= static_cast<uint8_t>(1u << (Next() % 8));
            break;
        case 1:  // set a byte to an interesting value
            if (!data.empty()) {
                static const uint8_t values[] = {0, 1, 0x7f, 0x80, 0xff, '{', '}', ';', ',', '"', '\n', ' '};
                data[Next() % data.size()] = values[Next() % sizeof(values)];
            }
            break;
        case 2:  // truncate
            if (!data.empty()) data.resize(Next() % data.size());
            break;
        case 3:  // insert random bytes
        {
            size_t at = data.empty() ? 0 : Next() % (data.size() + 1);
            size_t count = 1 + Next() % 16;
            for (size_t i = 0; i < count; ++i) data.insert(data.begin() + at, static_cast<uint8_t>(Next()));
            break;
        }
        case 4:  // overwrite 4 bytes with a random 32-bit value
            if (data.size() >= 4) {
                uint32_t v = static_cast<uint32_t>(Next());
                if (Next() % 2) v = 0xFFFFFFFFu - static_cast<uint32_t>(Next() % 4);
                std::memcpy(&data[Next() % (data.size() - 3)], &v, 4);
            }
            break;
        default:  // splice with another seed
        {
            const auto& other = seeds[Next() % seeds.size()];
            if (!other.empty() && !data.empty()) {
                size_t cut = Next() % data.size();
                size_t from = Next() % other.size();
                data.resize(cut);
                data.insert(data.end(), other.begin() + static_cast<long>(from), other.end());
            }
            break;
        }
        }
    }
    return data;
}

}  // namespace

int main(int argc, char** argv) {
    long runs = 1000;
    std::filesystem::path seedFolder;
    std::vector<std::filesystem::path> paths;
    size_t maxSize = 0;
    bool cut = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--runs=", 7) == 0)
            runs = std::strtol(argv[i] + 7, nullptr, 10);
        else if (std::strncmp(argv[i], "--write-seeds=", 14) == 0)
            seedFolder = argv[i] + 14;
        else if (std::strncmp(argv[i], "--max-size=", 11) == 0)
            maxSize = std::strtoul(argv[i] + 11, nullptr, 10);
        else if (std::strcmp(argv[i], "--cut") == 0)
            cut = true;
        else
            paths.emplace_back(argv[i]);
    }
    std::vector<std::vector<uint8_t>> seeds;
    if (FuzzSeeds) FuzzSeeds(seeds);
    if (!seedFolder.empty()) return WriteSeeds(seedFolder, seeds, paths, maxSize, cut);
    for (const auto& path : paths) {
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file()) AddFile(entry.path(), seeds);
        } else if (std::filesystem::is_regular_file(path)) {
            AddFile(path, seeds);
        }
    }
    if (seeds.empty()) seeds.emplace_back();
    for (const auto& seed : seeds) LLVMFuzzerTestOneInput(seed.data(), seed.size());
    for (long r = 0; r < runs; ++r) {
        std::vector<uint8_t> input = Mutate(seeds[Next() % seeds.size()], seeds);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("fuzz driver: %zu seeds, %ld mutated inputs, no failure\n", seeds.size(), runs);
    return 0;
}
