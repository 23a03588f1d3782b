#include "resources/pack_format.h"

#include <cstdio>
#include <cstring>

PackHeader DecodePackHeader(const uint8_t bytes[kPackHeaderSize]) {
    PackHeader header;
    for (int i = 0; i < 3; ++i) header.reserved0[i] = ReadLE32(bytes + 4 * i);
    header.count = ReadLE32(bytes + 12);
    header.mode = ReadLE32(bytes + 16);
    header.key = ReadLE32(bytes + 20);
    for (int i = 0; i < 3; ++i) header.reserved1[i] = ReadLE32(bytes + 24 + 4 * i);
    return header;
}

void EncodePackHeader(const PackHeader& header, uint8_t bytes[kPackHeaderSize]) {
    for (int i = 0; i < 3; ++i) WriteLE32(bytes + 4 * i, header.reserved0[i]);
    WriteLE32(bytes + 12, header.count);
    WriteLE32(bytes + 16, header.mode);
    WriteLE32(bytes + 20, header.key);
    for (int i = 0; i < 3; ++i) WriteLE32(bytes + 24 + 4 * i, header.reserved1[i]);
}

PackDirectoryRecord DecodePackEntry(const uint8_t bytes[kPackEntrySize]) {
    PackDirectoryRecord record;
    std::memcpy(record.name, bytes, kPackNameSize);
    record.reserved0[0] = bytes[50];
    record.reserved0[1] = bytes[51];
    record.size = ReadLE32(bytes + 52);
    record.offset = ReadLE32(bytes + 56);
    record.reserved1 = ReadLE32(bytes + 60);
    return record;
}

void EncodePackEntry(const PackDirectoryRecord& record, uint8_t bytes[kPackEntrySize]) {
    std::memcpy(bytes, record.name, kPackNameSize);
    bytes[50] = record.reserved0[0];
    bytes[51] = record.reserved0[1];
    WriteLE32(bytes + 52, record.size);
    WriteLE32(bytes + 56, record.offset);
    WriteLE32(bytes + 60, record.reserved1);
}

std::string PackNameProblem(std::string_view name) {
    if (name.empty()) return "the name is empty";
    if (name.size() >= kPackNameSize)
        return "the name " + PackNameShown(name) + " is longer than " + std::to_string(kPackNameSize - 1) +
               " characters";
    if (name.find('/') != std::string_view::npos) return "the name " + PackNameShown(name) + " holds a '/'";
    if (name.find('\0') != std::string_view::npos) return "the name holds a NUL character";
    return {};
}

std::string PackNameShown(std::string_view name) {
    std::string shown = "\"";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            shown += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    return shown + "\"";
}
