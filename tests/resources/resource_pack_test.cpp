#include "resources/resource_pack.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/resources/test_files.h"

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
    // Writes the pack and opens it.
    void OpenPack(const RawPack& raw) {
        file = dir.Write("data.pak", raw.Bytes());
        ASSERT_TRUE(pack.Open(file.c_str()));
    }
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

TEST_F(ResourcePackTest, MissingFileFailsOpenAndEveryReadIsNull) {
    EXPECT_FALSE(pack.Open((dir.Path() + "/absent.pak").c_str()));
    EXPECT_EQ(pack.Directory(), nullptr);
    EXPECT_EQ(ReadFrom(pack, "first.png").data, nullptr);
}

TEST_F(ResourcePackTest, CountZeroGivesEmptyDirectory) {
    RawPack raw;
    raw.count = 0;
    raw.entries.push_back({"a.txt", Bytes("abc")});
    OpenPack(raw);
    EXPECT_EQ(pack.Directory(), nullptr);
    EXPECT_EQ(ReadFrom(pack, "a.txt").data, nullptr);
}

TEST_F(ResourcePackTest, EmptyFileOpensWithEmptyDirectory) {
    file = dir.Write("data.pak", {});
    EXPECT_TRUE(pack.Open(file.c_str()));
    EXPECT_EQ(pack.Directory(), nullptr);
    EXPECT_EQ(pack.Header().count, 0u);
}

TEST_F(ResourcePackTest, ShortHeaderLeavesUnreadFieldsZero) {
    RawPack raw;
    raw.count = 3;
    raw.mode = 7;
    raw.key = 0x55;
    std::vector<uint8_t> bytes = raw.Bytes();
    bytes.resize(18);  // count whole, mode half, key missing
    file = dir.Write("data.pak", bytes);
    ASSERT_TRUE(pack.Open(file.c_str()));
    EXPECT_EQ(pack.Header().count, 3u);
    EXPECT_EQ(pack.Header().mode, 7u);
    EXPECT_EQ(pack.Header().key, 0u);
    EXPECT_EQ(pack.Directory(), nullptr);
}

TEST_F(ResourcePackTest, ModeOneSubtractsTheKeyOnReading) {
    RawPack raw;
    raw.mode = 1;
    raw.key = 0x10;
    raw.entries.push_back({"a.bin", {0xF5, 0x00}});
    std::vector<uint8_t> bytes = raw.Bytes();
    EXPECT_EQ(bytes[raw.DataOffset(0)], 0x05);  // stored = plain + key
    EXPECT_EQ(bytes[raw.DataOffset(0) + 1], 0x10);
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, "a.bin").Contents(), (std::vector<uint8_t>{0xF5, 0x00}));
}

TEST_F(ResourcePackTest, EveryOtherModeAddsTheKeyOnReading) {
    for (uint32_t mode : {0u, 2u, 0xFFFFFFFFu}) {
        RawPack raw;
        raw.mode = mode;
        raw.key = 0x10;
        raw.entries.push_back({"a.bin", {0x05, 0xFF}});
        std::vector<uint8_t> bytes = raw.Bytes();
        EXPECT_EQ(bytes[raw.DataOffset(0)], 0xF5);  // stored = plain - key
        OpenPack(raw);
        EXPECT_EQ(ReadFrom(pack, "a.bin").Contents(), (std::vector<uint8_t>{0x05, 0xFF})) << "mode " << mode;
    }
}

TEST_F(ResourcePackTest, KeyZeroMeansStoredPlain) {
    RawPack raw;
    raw.mode = 1;
    raw.entries.push_back({"plain.txt", Bytes("hello")});
    std::vector<uint8_t> bytes = raw.Bytes();
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 45), "plain.txt");
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, "plain.txt").Contents(), Bytes("hello"));
}

TEST_F(ResourcePackTest, OnlyTheLowestKeyByteIsUsed) {
    RawPack raw;
    raw.mode = 1;
    raw.key = 0x10;
    raw.entries.push_back({"a.bin", kSample});
    std::vector<uint8_t> bytes = raw.Bytes();
    bytes[21] = 0xEF;  // upper three bytes of the key field
    bytes[22] = 0xCD;
    bytes[23] = 0xAB;
    file = dir.Write("data.pak", bytes);
    ASSERT_TRUE(pack.Open(file.c_str()));
    EXPECT_EQ(pack.Header().key, 0xABCDEF10u);
    EXPECT_EQ(ReadFrom(pack, "a.bin").Contents(), kSample);
}

TEST_F(ResourcePackTest, ReservedFieldsAreIgnored) {
    RawPack raw;
    raw.mode = 3;
    raw.key = 0x99;
    raw.reservedWord = 0xFFFFFFFF;
    raw.entries = {{"a.bin", kSample}, {"b.bin", Bytes("second")}};
    raw.entries[0].reservedByte = 0xAA;
    raw.entries[1].reservedByte = 0xFF;
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, "a.bin").Contents(), kSample);
    EXPECT_EQ(ReadFrom(pack, "b.bin").Contents(), Bytes("second"));
}

TEST_F(ResourcePackTest, DirectoryListsTheLastEntryFirst) {
    RawPack raw;
    raw.entries = {{"one", {}}, {"two", {}}, {"three", {}}};
    OpenPack(raw);
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"three", "two", "one"}));
}

TEST_F(ResourcePackTest, LaterDuplicateNameWins) {
    RawPack raw;
    raw.key = 0x21;
    raw.entries = {{"same.txt", Bytes("earlier")}, {"other", {}}, {"same.txt", Bytes("later")}};
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, "same.txt").Contents(), Bytes("later"));
}

TEST_F(ResourcePackTest, LookupIsCaseSensitive) {
    RawPack raw;
    raw.entries = {{"First.png", Bytes("x")}};
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, "first.png").data, nullptr);
    EXPECT_EQ(ReadFrom(pack, "FIRST.PNG").data, nullptr);
    EXPECT_NE(ReadFrom(pack, "First.png").data, nullptr);
}

TEST_F(ResourcePackTest, EmptyNameReadsNullEvenWhenAnEntryHasIt) {
    RawPack raw;
    raw.entries = {{"", Bytes("nameless")}};
    OpenPack(raw);
    ASSERT_NE(pack.Directory(), nullptr);
    Read read = ReadFrom(pack, "");
    EXPECT_EQ(read.data, nullptr);
    EXPECT_EQ(read.size, 0xDEADBEEFu);
    EXPECT_EQ(pack.ReadEntry(nullptr, nullptr), nullptr);
}

TEST_F(ResourcePackTest, ReadGivesExactlyTheEntrySize) {
    RawPack raw;
    raw.key = 0x42;
    raw.entries = {{"shader.cpp", Bytes("void main(){}")}, {"next", Bytes("TAIL")}};
    OpenPack(raw);
    Read read = ReadFrom(pack, "shader.cpp");
    EXPECT_EQ(read.size, 13u);
    EXPECT_EQ(read.Contents(), Bytes("void main(){}"));
}

TEST_F(ResourcePackTest, ZeroSizeEntryGivesEmptyNonNullBuffer) {
    RawPack raw;
    raw.entries = {{"empty", {}}};
    OpenPack(raw);
    Read read = ReadFrom(pack, "empty");
    EXPECT_NE(read.data, nullptr);
    EXPECT_EQ(read.size, 0u);
}

TEST_F(ResourcePackTest, SizeIsOptionalAndUntouchedOnFailure) {
    RawPack raw;
    raw.entries = {{"a", Bytes("abc")}};
    OpenPack(raw);
    Buffer data(pack.ReadEntry("a", nullptr));
    EXPECT_NE(data, nullptr);
    Read missing = ReadFrom(pack, "b");
    EXPECT_EQ(missing.data, nullptr);
    EXPECT_EQ(missing.size, 0xDEADBEEFu);
}

TEST_F(ResourcePackTest, TwoReadsGiveIndependentBuffers) {
    RawPack raw;
    raw.entries = {{"a", Bytes("abc")}};
    OpenPack(raw);
    Read first = ReadFrom(pack, "a");
    Read second = ReadFrom(pack, "a");
    ASSERT_NE(first.data, nullptr);
    ASSERT_NE(second.data, nullptr);
    EXPECT_NE(first.data.get(), second.data.get());
    first.data[0] = 'z';
    EXPECT_EQ(second.Contents(), Bytes("abc"));
}

TEST_F(ResourcePackTest, EntryRunningPastTheEndOfTheFileReadsNull) {
    RawPack raw;
    raw.entries = {{"whole", Bytes("1234")}, {"wrapping", Bytes("x")}, {"long", Bytes("abcd")}};
    raw.entries[1].offset = 0xFFFFFFF0u;
    raw.entries[1].size = 0x20;  // offset + size wraps in 32 bits
    raw.entries[2].size = 5;     // one byte more than the file holds
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, "long").data, nullptr);
    EXPECT_EQ(ReadFrom(pack, "wrapping").data, nullptr);
    EXPECT_EQ(ReadFrom(pack, "whole").Contents(), Bytes("1234"));
}

TEST_F(ResourcePackTest, EntryEndingExactlyAtTheEndOfTheFileReads) {
    RawPack raw;
    raw.entries = {{"last", Bytes("end")}};
    OpenPack(raw);
    EXPECT_EQ(raw.DataOffset(0) + 3, raw.Bytes().size());
    EXPECT_EQ(ReadFrom(pack, "last").Contents(), Bytes("end"));
}

TEST_F(ResourcePackTest, DirectoryClaimingMoreEntriesEndsWithTheLastCompleteOne) {
    RawPack raw;
    raw.count = 0xFFFFFFFF;
    raw.entries = {{"a", Bytes("first")}, {"b", Bytes("second")}};  // 11 data bytes: no third entry
    OpenPack(raw);
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(ReadFrom(pack, "a").Contents(), Bytes("first"));
}

TEST_F(ResourcePackTest, DirectoryCutInsideAnEntryKeepsTheEntriesBefore) {
    RawPack raw;
    raw.entries = {{"a", {}}, {"b", {}}, {"c", {}}};
    std::vector<uint8_t> bytes = raw.Bytes();
    bytes.resize(36 + 64 * 2 + 63);
    file = dir.Write("data.pak", bytes);
    ASSERT_TRUE(pack.Open(file.c_str()));
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"b", "a"}));
}

TEST_F(ResourcePackTest, NameWithoutTerminatorMatchesNothing) {
    const std::string fifty(50, 'n');
    RawPack raw;
    raw.entries = {{fifty, Bytes("x")}};
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, fifty.c_str()).data, nullptr);
    EXPECT_EQ(ReadFrom(pack, fifty.substr(0, 49).c_str()).data, nullptr);
}

TEST_F(ResourcePackTest, LongestStorableNameIsFound) {
    const std::string name(49, 'n');
    RawPack raw;
    raw.key = 0x80;
    raw.entries = {{name, Bytes("x")}};
    OpenPack(raw);
    EXPECT_EQ(ReadFrom(pack, name.c_str()).Contents(), Bytes("x"));
    EXPECT_EQ(ReadFrom(pack, (name + "n").c_str()).data, nullptr);
}

TEST_F(ResourcePackTest, ResetClearsPathHeaderAndDirectory) {
    RawPack raw;
    raw.mode = 1;
    raw.key = 9;
    raw.entries = {{"a", Bytes("abc")}};
    OpenPack(raw);
    pack.Reset();
    EXPECT_EQ(pack.Directory(), nullptr);
    EXPECT_EQ(pack.Header().count, 0u);
    EXPECT_EQ(pack.Header().key, 0u);
    EXPECT_EQ(ReadFrom(pack, "a").data, nullptr);
}

TEST_F(ResourcePackTest, ReadsFailOnceThePackFileIsGone) {
    RawPack raw;
    raw.entries = {{"a", Bytes("abc")}};
    OpenPack(raw);
    ASSERT_EQ(unlink(file.c_str()), 0);
    EXPECT_EQ(ReadFrom(pack, "a").data, nullptr);
}

TEST_F(ResourcePackTest, PathLongerThanItsBufferFailsOpen) {
    std::string longPath = dir.Path() + "/" + std::string(300, 'p');
    EXPECT_FALSE(pack.Open(longPath.c_str()));
    EXPECT_EQ(pack.Directory(), nullptr);
}

TEST_F(ResourcePackTest, OpenWithoutPathReadsDataPakInTheWorkingDirectory) {
    RawPack raw;
    raw.entries = {{"here", Bytes("cwd")}};
    dir.Write("data.pak", raw.Bytes());
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    bool opened = pack.Open();
    Read read = ReadFrom(pack, "here");
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_TRUE(opened);
    EXPECT_EQ(read.Contents(), Bytes("cwd"));
}
