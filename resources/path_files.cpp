#include "resources/path_files.h"

#include "resources/byte_order.h"

namespace {

constexpr size_t kHeaderSize = 16;
constexpr size_t kCameraRecordSize = 28;
constexpr size_t kMeshRecordSize = 44;

D3DXVECTOR3 ReadVector(const uint8_t* p) { return {ReadLEFloat(p), ReadLEFloat(p + 4), ReadLEFloat(p + 8)}; }

// Shared frame of both parsers: the header into `path`, then one call of
// `readKey` per record. A missing entry, or one too short for its header or
// its announced records, leaves `path` as a freshly created path and fails.
template <class Path, class ReadKey>
bool ParsePath(const uint8_t* bytes, uint32_t size, size_t recordSize, Path& path, ReadKey readKey) {
    if (!bytes || size < kHeaderSize) {
        path = Path{};
        return false;
    }
    uint32_t segments = ReadLE32(bytes + 8);
    uint64_t records = uint64_t(segments) + 1;
    // N + 1 wraps to zero for the largest N: such a file holds no records.
    if (segments == UINT32_MAX) records = 0;
    if (kHeaderSize + records * recordSize > size) {
        path = Path{};
        return false;
    }
    path.word0 = ReadLE32(bytes);
    path.word1 = ReadLE32(bytes + 4);
    path.duration = ReadLEFloat(bytes + 12);
    path.keys.clear();
    path.keys.reserve(size_t(records));
    for (uint64_t k = 0; k < records; ++k) {
        const uint8_t* record = bytes + kHeaderSize + k * recordSize;
        auto& key = path.keys.emplace_back();
        key.index = ReadLE32(record);
        key.time = path.duration * float(key.index) / float(segments);
        readKey(record, key);
    }
    return true;
}

}  // namespace

bool ParseCameraPath(const uint8_t* bytes, uint32_t size, CameraPath& path) {
    return ParsePath(bytes, size, kCameraRecordSize, path, [](const uint8_t* record, CameraKey& key) {
        key.eye = ReadVector(record + 4);
        key.target = ReadVector(record + 16);
    });
}

bool ParseMeshPath(const uint8_t* bytes, uint32_t size, MeshPath& path) {
    return ParsePath(bytes, size, kMeshRecordSize, path, [](const uint8_t* record, MeshKey& key) {
        key.translation = ReadVector(record + 4);
        // Negating w turns the stored rotation into its inverse.
        key.rotation = D3DXQUATERNION(ReadLEFloat(record + 16), ReadLEFloat(record + 20), ReadLEFloat(record + 24),
                                      -ReadLEFloat(record + 28));
        key.scale = ReadVector(record + 32);
    });
}
