#include "resources/resource_pack.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_files.h"

namespace {

using Buffer = std::unique_ptr<uint8_t[]>;

struct Read {
    Buffer data;
    uint32_t size = 0xDEADBEEF;
    std::vector<uint8_t> Contents() const {
        return data ? std::vector<uint8_t>(data.get(), data.get() + size) : std::vector<uint8_t>{};
    }
};

Read ReadFrom(ResourcePack& pack, const char* name) {
    Read read;
    read.data.reset(pack.ReadEntry(name, &read.size));
    return read;
}

class ResourcePackTest : public ::testing::Test {
protected:
    // Writes the pack's bytes and opens them.
    void OpenPack(const std::vector<uint8_t>& bytes) {
        file = dir.Write("data.pak", bytes);
        ASSERT_TRUE(pack.Open(file.c_str()));
    }
    void OpenPack(const RawPack& raw) { OpenPack(raw.Bytes()); }
    std::vector<std::string> DirectoryNames() const {
        std::vector<std::string> names;
        for (const ResourcePack::Entry* e = pack.Directory(); e; e = e->next) names.emplace_back(e->name);
        return names;
    }

    TempDir dir;
    std::string file;
    ResourcePack pack;
};

const std::vector<uint8_t> kSample = {0x00, 0x01, 0x7F, 0x80, 0xF0, 0xFF};

}  // namespace

TEST_F(ResourcePackTest, MissingUnopenableOrVanishedPacksAndResetOnesReadNothing) {
    EXPECT_FALSE(pack.Open((dir.Path() + "/absent.pak").c_str()));
    EXPECT_EQ(pack.Directory(), nullptr);
    EXPECT_EQ(ReadFrom(pack, "first.png").data, nullptr);
    EXPECT_FALSE(pack.Open((dir.Path() + "/" + std::string(300, 'p')).c_str())) << "path longer than its buffer";
    EXPECT_EQ(pack.Directory(), nullptr);
    // Reading ends when the file vanishes, or after Reset.
    RawPack raw;
    raw.mode = 1;
    raw.key = 9;
    raw.entries = {{"a", Bytes("abc")}};
    OpenPack(raw);
    ASSERT_EQ(unlink(file.c_str()), 0);
    EXPECT_EQ(ReadFrom(pack, "a").data, nullptr);
    OpenPack(raw);
    pack.Reset();
    EXPECT_EQ(pack.Directory(), nullptr);
    EXPECT_EQ(pack.Header().key, 0u);
    EXPECT_EQ(ReadFrom(pack, "a").data, nullptr);
}

TEST_F(ResourcePackTest, EmptyShortOrCountZeroPacksOpenWithAnEmptyDirectory) {
    OpenPack(std::vector<uint8_t>{});
    EXPECT_EQ(pack.Directory(), nullptr);
    EXPECT_EQ(pack.Header().count, 0u);

    RawPack raw;
    raw.count = 3;
    raw.mode = 7;
    raw.key = 0x55;
    std::vector<uint8_t> bytes = raw.Bytes();
    bytes.resize(18);  // count whole, mode half, key missing
    OpenPack(bytes);
    EXPECT_EQ(pack.Header().count, 3u);
    EXPECT_EQ(pack.Header().mode, 7u);
    EXPECT_EQ(pack.Header().key, 0u);
    EXPECT_EQ(pack.Directory(), nullptr);

    RawPack zero;
    zero.count = 0;
    zero.entries.push_back({"a.txt", Bytes("abc")});
    OpenPack(zero);
    EXPECT_EQ(pack.Directory(), nullptr);
    EXPECT_EQ(ReadFrom(pack, "a.txt").data, nullptr);
}

TEST_F(ResourcePackTest, ModeOneSubtractsTheLowestKeyByteAndEveryOtherModeAddsIt) {
    for (uint32_t mode : {1u, 0u, 2u, 0xFFFFFFFFu}) {
        RawPack raw;
        raw.mode = mode;
        raw.key = 0x10;
        raw.reservedWord = 0xFFFFFFFF;
        raw.entries.push_back({"a.bin", kSample});
        raw.entries[0].reservedByte = 0xAA;
        std::vector<uint8_t> bytes = raw.Bytes();
        EXPECT_EQ(bytes[raw.DataOffset(0)], mode == 1 ? 0x10 : 0xF0) << "stored byte 0 in mode " << mode;
        bytes[21] = 0xEF;  // upper three bytes of the key field
        bytes[22] = 0xCD;
        bytes[23] = 0xAB;
        OpenPack(bytes);
        EXPECT_EQ(pack.Header().key, 0xABCDEF10u);
        EXPECT_EQ(ReadFrom(pack, "a.bin").Contents(), kSample) << "mode " << mode;
        pack.Reset();
    }
}

TEST_F(ResourcePackTest, DirectoryListsTheLastEntryFirstAndALaterDuplicateWins) {
    RawPack raw;
    raw.key = 0x21;
    raw.entries = {{"same.txt", Bytes("earlier")}, {"two", {}}, {"same.txt", Bytes("later")}};
    OpenPack(raw);
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"same.txt", "two", "same.txt"}));
    EXPECT_EQ(ReadFrom(pack, "same.txt").Contents(), Bytes("later"));
}

TEST_F(ResourcePackTest, NamesMatchExactlyUpToFortyNineCharacters) {
    const std::string longest(49, 'n'), fifty(50, 'm');
    RawPack raw;
    raw.key = 0x80;
    raw.entries = {{"First.png", Bytes("x")}, {"", Bytes("nameless")}, {longest, Bytes("y")}, {fifty, Bytes("z")}};
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, "First.png").Contents(), Bytes("x"));
    EXPECT_EQ(ReadFrom(pack, "first.png").data, nullptr);
    EXPECT_EQ(ReadFrom(pack, "FIRST.PNG").data, nullptr);
    Read nameless = ReadFrom(pack, "");
    EXPECT_EQ(nameless.data, nullptr);
    EXPECT_EQ(nameless.size, 0xDEADBEEFu) << "size untouched on failure";
    EXPECT_EQ(pack.ReadEntry(nullptr, nullptr), nullptr);
    EXPECT_EQ(ReadFrom(pack, longest.c_str()).Contents(), Bytes("y"));
    EXPECT_EQ(ReadFrom(pack, (longest + "n").c_str()).data, nullptr);
    EXPECT_EQ(ReadFrom(pack, fifty.c_str()).data, nullptr) << "a name without terminator";
    EXPECT_EQ(ReadFrom(pack, fifty.substr(0, 49).c_str()).data, nullptr);
}

TEST_F(ResourcePackTest, ReadsGiveExactlyTheEntryInAFreshBuffer) {
    RawPack raw;
    raw.key = 0x42;
    raw.entries = {{"shader.cpp", Bytes("void main(){}")}, {"empty", {}}, {"next", Bytes("TAIL")}};
    OpenPack(raw);
    Read first = ReadFrom(pack, "shader.cpp");
    Read second = ReadFrom(pack, "shader.cpp");
    EXPECT_EQ(first.size, 13u);
    EXPECT_EQ(first.Contents(), Bytes("void main(){}"));
    first.data[0] = 'z';
    EXPECT_EQ(second.Contents(), Bytes("void main(){}"));
    Read empty = ReadFrom(pack, "empty");
    EXPECT_NE(empty.data, nullptr);
    EXPECT_EQ(empty.size, 0u);
    EXPECT_NE(Buffer(pack.ReadEntry("next", nullptr)), nullptr) << "the size is optional";
}

TEST_F(ResourcePackTest, EntriesRunningPastTheEndOfTheFileReadNull) {
    RawPack raw;
    raw.entries = {{"whole", Bytes("1234")}, {"wrapping", Bytes("x")}, {"long", Bytes("abcd")}};
    raw.entries[1].offset = 0xFFFFFFF0u;
    raw.entries[1].size = 0x20;  // offset + size wraps in 32 bits
    raw.entries[2].size = 5;     // one byte more than the file holds
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, "long").data, nullptr);
    EXPECT_EQ(ReadFrom(pack, "wrapping").data, nullptr);
    EXPECT_EQ(ReadFrom(pack, "whole").Contents(), Bytes("1234"));

    RawPack last;
    last.entries = {{"last", Bytes("end")}};
    OpenPack(last);
    EXPECT_EQ(ReadFrom(pack, "last").Contents(), Bytes("end")) << "ending exactly at the end of the file";
}

TEST_F(ResourcePackTest, DirectoryEndsWithTheLastCompleteEntry) {
    RawPack raw;
    raw.count = 0xFFFFFFFF;
    raw.entries = {{"a", Bytes("first")}, {"b", Bytes("second")}};  // 11 data bytes: no third entry
    OpenPack(raw);
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(ReadFrom(pack, "a").Contents(), Bytes("first"));

    RawPack cut;
    cut.entries = {{"a", {}}, {"b", {}}, {"c", {}}};
    std::vector<uint8_t> bytes = cut.Bytes();
    bytes.resize(36 + 64 * 2 + 63);
    OpenPack(bytes);
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"b", "a"}));
}
