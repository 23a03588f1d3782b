// Fuzz target for the camera path parser.
#include <cstring>
#include <vector>

#include "resources/path_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    CameraPath path;
    if (ParseCameraPath(data, uint32_t(size), path) && !path.keys.empty()) {
        volatile float last = path.keys.back().time + path.keys.back().target.z;
        (void)last;
    }
    return 0;
}

namespace {

void Put(std::vector<uint8_t>& out, const void* value) {
    const uint8_t* bytes = static_cast<const uint8_t*>(value);
    for (int i = 0; i < 4; ++i) out.push_back(bytes[i]);
}

std::vector<uint8_t> CameraFile(uint32_t segments, uint32_t records, float duration) {
    std::vector<uint8_t> out;
    uint32_t words[2] = {0x12345678, 0};
    Put(out, &words[0]);
    Put(out, &words[1]);
    Put(out, &segments);
    Put(out, &duration);
    for (uint32_t k = 0; k < records; ++k) {
        Put(out, &k);
        for (int i = 0; i < 6; ++i) {
            float v = float(k * 6 + i);
            Put(out, &v);
        }
    }
    return out;
}

}  // namespace

extern "C" void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds) {
    seeds.push_back(CameraFile(2, 3, 10.0f));
    seeds.push_back(CameraFile(0, 1, 1.0f));
    seeds.push_back(CameraFile(0xFFFFFFFF, 0, 4.0f));
    seeds.push_back(CameraFile(5, 6, -1.0f));
}
