// Building resource packs (the writing side of resources/pack_format.h).
// The directory lists the files in the order given; their data follows the
// directory in the same order, each run of bytes straight after the last.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "resources/pack_format.h"  // PackNameProblem

struct PackFile {
    std::string name;
    std::vector<uint8_t> data;
};

// The bytes of a pack holding `files` (later duplicates win on reading).
// False, with the reason in `error`, when a name cannot be stored or the pack
// would not fit the 32-bit offsets.
bool BuildPack(const std::vector<PackFile>& files, uint32_t mode, uint32_t key, std::vector<uint8_t>& out,
               std::string& error);
