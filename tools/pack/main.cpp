// pack: builds, lists and extracts the demo's resource packs.
//
//   pack build OUT.pak DIR [--mode N] [--key K]
//   pack list FILE.pak
//   pack extract FILE.pak NAME [OUT]
//
// build packs every regular file of DIR (not its subfolders), sorted by name
// so that the same files always give the same pack. list prints one line per
// directory entry, in directory order: name, size and offset, tab-separated.
// extract writes one entry's unscrambled bytes to OUT (default: NAME).
// Exit status: 0 on success, 1 for files that cannot be read, written or
// stored, 2 for a malformed command line.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/pack/pack_writer.h"
#include "resources/resource_pack.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kDefaultMode = 1;
constexpr uint32_t kDefaultKey = 0x6B;

const char kUsage[] =
    "usage:\n"
    "  pack build OUT.pak DIR [--mode N] [--key K]   pack the files of DIR (mode 1 subtracts the key\n"
    "                                                 on reading, others add it; default mode 1, key 0x6B)\n"
    "  pack list FILE.pak                             name, size and offset of every entry\n"
    "  pack extract FILE.pak NAME [OUT]               write entry NAME to OUT (default: NAME)\n";

int UsageError(const std::string& message) {
    std::fprintf(stderr, "pack: %s\n%s", message.c_str(), kUsage);
    return 2;
}

int FileError(const std::string& message) {
    std::fprintf(stderr, "pack: %s\n", message.c_str());
    return 1;
}

// Decimal, or hexadecimal with 0x; the whole text must be a number below 2^32.
bool ParseUnsigned(const char* text, uint32_t& value) {
    if (!*text || *text == '-' || *text == '+' || *text == ' ') return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long parsed = std::strtoull(text, &end, 0);
    if (errno != 0 || *end != '\0' || parsed > UINT32_MAX) return false;
    value = uint32_t(parsed);
    return true;
}

bool ReadFile(const fs::path& path, std::vector<uint8_t>& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFile(const fs::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    out.close();
    return bool(out);
}

int Build(int argc, char** argv) {
    if (argc < 4) return UsageError("build needs OUT.pak and DIR");
    fs::path out = argv[2];
    fs::path dir = argv[3];
    uint32_t mode = kDefaultMode;
    uint32_t key = kDefaultKey;
    for (int i = 4; i < argc; i += 2) {
        std::string option = argv[i];
        if (option != "--mode" && option != "--key") return UsageError("unknown option " + option);
        if (i + 1 >= argc) return UsageError(option + " needs a value");
        if (!ParseUnsigned(argv[i + 1], option == "--mode" ? mode : key))
            return UsageError(option + " takes a number from 0 to 4294967295, not \"" + argv[i + 1] + "\"");
    }

    std::error_code error;
    if (!fs::is_directory(dir, error)) return FileError(dir.string() + " is not a folder");
    std::vector<fs::path> paths;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
        std::error_code ignored;
        // A pack written into the folder it packs must not swallow its previous self.
        if (entry.is_regular_file(ignored) && !fs::equivalent(entry.path(), out, ignored))
            paths.push_back(entry.path());
    }
    if (error) return FileError("cannot list " + dir.string() + ": " + error.message());
    std::sort(paths.begin(), paths.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });

    std::vector<PackFile> files;
    for (const fs::path& path : paths) {
        PackFile file{path.filename().string(), {}};
        if (std::string problem = PackNameProblem(file.name); !problem.empty())
            return FileError("cannot store " + path.string() + ": " + problem);
        if (!ReadFile(path, file.data)) return FileError("cannot read " + path.string());
        files.push_back(std::move(file));
    }
    std::vector<uint8_t> bytes;
    std::string problem;
    if (!BuildPack(files, mode, key, bytes, problem)) return FileError("cannot build " + out.string() + ": " + problem);
    if (!WriteFile(out, bytes.data(), bytes.size())) {
        fs::remove(out, error);
        return FileError("cannot write " + out.string());
    }
    return 0;
}

// The directory in file order, or an error status with its message printed.
int OpenPack(const char* file, ResourcePack& pack, std::vector<const ResourcePack::Entry*>& entries) {
    if (!pack.Open(file)) return FileError(std::string("cannot open ") + file);
    for (const ResourcePack::Entry* entry = pack.Directory(); entry; entry = entry->next)
        entries.insert(entries.begin(), entry);
    return 0;
}

std::string EntryName(const ResourcePack::Entry& entry) {
    return std::string(entry.name, strnlen(entry.name, sizeof(entry.name)));
}

int List(int argc, char** argv) {
    if (argc != 3) return UsageError("list takes exactly one FILE.pak");
    ResourcePack pack;
    std::vector<const ResourcePack::Entry*> entries;
    if (int status = OpenPack(argv[2], pack, entries)) return status;
    std::error_code error;
    uint64_t length = fs::file_size(argv[2], error);
    int status = 0;
    for (const ResourcePack::Entry* entry : entries) {
        std::printf("%s\t%u\t%u\n", EntryName(*entry).c_str(), entry->size, entry->offset);
        if (uint64_t(entry->offset) + entry->size > length) {
            std::fprintf(stderr, "pack: entry %s runs past the end of %s\n", EntryName(*entry).c_str(), argv[2]);
            status = 1;
        }
    }
    if (entries.size() < pack.Header().count) {
        std::fprintf(stderr, "pack: %s holds %zu of the %u directory entries its header announces\n", argv[2],
                     entries.size(), pack.Header().count);
        status = 1;
    }
    return status;
}

int Extract(int argc, char** argv) {
    if (argc != 4 && argc != 5) return UsageError("extract takes FILE.pak, NAME and an optional OUT");
    const char* name = argv[3];
    fs::path out = argc == 5 ? argv[4] : name;
    ResourcePack pack;
    std::vector<const ResourcePack::Entry*> entries;
    if (int status = OpenPack(argv[2], pack, entries)) return status;
    uint32_t size = 0;
    uint8_t* data = pack.ReadEntry(name, &size);
    if (!data) {
        for (const ResourcePack::Entry* entry : entries)
            if (*name && EntryName(*entry) == name)
                return FileError(std::string("cannot read entry ") + name + " of " + argv[2] +
                                 ": its data runs past the end of the file");
        return FileError(std::string("no entry named \"") + name + "\" in " + argv[2]);
    }
    bool written = WriteFile(out, data, size);
    delete[] data;
    if (!written) return FileError("cannot write " + out.string());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return UsageError("no command");
    std::string command = argv[1];
    if (command == "-h" || command == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "build") return Build(argc, argv);
    if (command == "list") return List(argc, argv);
    if (command == "extract") return Extract(argc, argv);
    return UsageError("unknown command " + command);
}
