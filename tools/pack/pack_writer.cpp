#include "tools/pack/pack_writer.h"

#include <cstring>

#include "resources/pack_format.h"

bool BuildPack(const std::vector<PackFile>& files, uint32_t mode, uint32_t key, std::vector<uint8_t>& out,
               std::string& error) {
    uint64_t total = kPackHeaderSize + uint64_t(kPackEntrySize) * files.size();
    for (const PackFile& file : files) {
        if (std::string problem = PackNameProblem(file.name); !problem.empty()) {
            error = problem;
            return false;
        }
        total += file.data.size();
    }
    if (total > UINT32_MAX) {
        error = "the pack would be larger than 4 GiB";
        return false;
    }

    PackHeader header;
    header.count = uint32_t(files.size());
    header.mode = mode;
    header.key = key;
    out.assign(size_t(total), 0);
    EncodePackHeader(header, out.data());

    uint32_t offset = uint32_t(kPackHeaderSize + kPackEntrySize * files.size());
    uint8_t* entryBytes = out.data() + kPackHeaderSize;
    for (const PackFile& file : files) {
        PackDirectoryRecord record;
        std::memcpy(record.name, file.name.data(), file.name.size());
        record.size = uint32_t(file.data.size());
        record.offset = offset;
        EncodePackEntry(record, entryBytes);
        for (size_t i = 0; i < kPackEntrySize; ++i) entryBytes[i] = PackScramble(entryBytes[i], header);
        for (size_t i = 0; i < file.data.size(); ++i) out[offset + i] = PackScramble(file.data[i], header);
        entryBytes += kPackEntrySize;
        offset += record.size;
    }
    return true;
}
