// D3DX_DecodeAhead and the loaders' side of it: a small table of files, each
// decoding, decoded (its result waiting) or taken, under one lock.
#include "platform/d3dx9/decoded_files.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/d3dx9/d3dx9_platform.h"

namespace d3dx {

namespace {

// Bytes of the file's words mixed into one value; the size is compared too.
uint64_t HashBytes(const uint8_t* data, size_t size) {
    uint64_t hash = 0x9E3779B97F4A7C15u ^ size;
    size_t at = 0;
    for (; at + 8 <= size; at += 8) {
        uint64_t word;
        std::memcpy(&word, data + at, 8);
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDu;
        hash ^= hash >> 32;
    }
    for (; at < size; ++at) hash = (hash ^ data[at]) * 0x100000001B3u;
    return hash;
}

bool IsXFile(const uint8_t* data, size_t size) { return size >= 4 && std::memcmp(data, "xof ", 4) == 0; }

struct FileEntry {
    uint64_t hash = 0;
    size_t size = 0;
    enum class State { Decoding, Decoded, Taken } state = State::Decoding;
    std::unique_ptr<DecodedFile> result;
};

class DecodedFiles {
public:
    void Start() {
        std::lock_guard<std::mutex> lock(mutex);
        active.store(true, std::memory_order_release);
    }
    bool Active() const { return active.load(std::memory_order_acquire); }

    // Claims the file for decoding ahead: false when it is already known.
    bool Claim(uint64_t hash, size_t size) {
        std::lock_guard<std::mutex> lock(mutex);
        if (!Active() || Find(hash, size)) return false;
        entries.push_back(FileEntry{hash, size, FileEntry::State::Decoding, nullptr});
        return true;
    }

    void Keep(uint64_t hash, size_t size, std::unique_ptr<DecodedFile> result) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            FileEntry* entry = Find(hash, size);
            if (!entry) return;  // forgotten meanwhile
            entry->result = std::move(result);
            entry->state = FileEntry::State::Decoded;
        }
        decoded.notify_all();
    }

    std::unique_ptr<DecodedFile> Take(uint64_t hash, size_t size) {
        std::unique_lock<std::mutex> lock(mutex);
        if (!Active()) return nullptr;
        FileEntry* entry = Find(hash, size);
        if (!entry) {
            entries.push_back(FileEntry{hash, size, FileEntry::State::Taken, nullptr});
            return nullptr;
        }
        decoded.wait(lock, [&] {
            entry = Find(hash, size);
            return !entry || entry->state != FileEntry::State::Decoding;
        });
        if (!entry) return nullptr;
        entry->state = FileEntry::State::Taken;
        return std::move(entry->result);
    }

    void Stop() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            active.store(false, std::memory_order_release);
            entries.clear();
            entries.shrink_to_fit();
        }
        decoded.notify_all();
    }

private:
    FileEntry* Find(uint64_t hash, size_t size) {
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const FileEntry& e) { return e.hash == hash && e.size == size; });
        return found == entries.end() ? nullptr : &*found;
    }

    std::mutex mutex;
    std::condition_variable decoded;
    std::vector<FileEntry> entries;
    std::atomic<bool> active{false};
};

// Never destroyed: a thread decoding ahead may still be at work while the
// process exits.
DecodedFiles& Files() {
    static auto* files = new DecodedFiles;
    return *files;
}

}  // namespace

std::unique_ptr<DecodedFile> TakeDecodedFile(const uint8_t* data, size_t size) {
    if (!Files().Active()) return nullptr;
    return Files().Take(HashBytes(data, size), size);
}

}  // namespace d3dx

void D3DX_StartDecodingAhead() { d3dx::Files().Start(); }

void D3DX_DecodeAhead(const void* data, size_t size, std::vector<std::string>* textureFiles) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || size == 0 || d3dx::IsDds(bytes, size)) return;
    const uint64_t hash = d3dx::HashBytes(bytes, size);
    if (!d3dx::Files().Claim(hash, size)) return;
    auto result = std::make_unique<d3dx::DecodedFile>();
    if (d3dx::IsXFile(bytes, size)) {
        result->isMesh = true;
        result->ok = d3dx::ParseXMesh(bytes, size, &result->mesh, nullptr) == d3dx::XMeshResult::Ok;
        if (result->ok && textureFiles)
            for (const d3dx::XMaterialData& material : result->mesh.materials)
                if (!material.textureFile.empty()) textureFiles->push_back(material.textureFile);
    } else {
        result->ok = d3dx::DecodeImageFile(bytes, size, &result->image, nullptr);
    }
    d3dx::Files().Keep(hash, size, std::move(result));
}

void D3DX_StopDecodingAhead() { d3dx::Files().Stop(); }
