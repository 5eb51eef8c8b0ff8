#include "engine/rar/RarArchive.h"

#include "RarTestSupport.h"
#include "RarTestWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <utility>

namespace {

using RarArchiveTest = RarLogTest;

std::string u32(uint32_t v) {
    return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
}

} // namespace

TEST_F(RarArchiveTest, EveryManifestEntryExtractsOrIsRefusedByVersion) {
    const std::vector<ManifestRow> rows = readManifest();
    ASSERT_GE(rows.size(), 27u);
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(row.file + " : " + row.entry);
        const Extraction got =
            extract(rarTestData(row.file), row.entry, row.encrypted ? "password" : nullptr);
        if (row.unpackVersion == 20) {
            ASSERT_TRUE(got.ok);
            EXPECT_EQ(got.bytes.size(), row.unpackedSize);
            EXPECT_EQ(crc32Of(got.bytes), row.crc);
        } else {
            EXPECT_FALSE(got.ok);
        }
    }
    const std::string text = log();
    size_t refusals = 0;
    for (size_t at = text.find("unknown compression method"); at != std::string::npos;
         at = text.find("unknown compression method", at + 1)) {
        ++refusals;
    }
    EXPECT_EQ(refusals, 4u); // one per v29 entry
}

TEST_F(RarArchiveTest, BackslashNamesMatchSlashesInAnyCase) {
    const std::string archive = rarTestData("v20/Rar2.rar");
    const Extraction exe = extract(archive, "EXE/TEST.exe");
    ASSERT_TRUE(exe.ok);
    EXPECT_EQ(crc32Of(exe.bytes), 0xcfb109c8u);
    EXPECT_TRUE(extract(archive, "jpg\\Test.JPG").ok);
    EXPECT_TRUE(extract(archive, "Jpg/test.jpg").ok);
    EXPECT_FALSE(extract(archive, "jpg/test.jp").ok);
    EXPECT_FALSE(extract(archive, "jpg/test.jpgx").ok);
    // A directory entry extracts as an empty block.
    const Extraction dir = extract(archive, "exe");
    ASSERT_TRUE(dir.ok);
    EXPECT_TRUE(dir.bytes.empty());
}

TEST_F(RarArchiveTest, MarkersDecideWhatIsRead) {
    const std::string real = readWholeFile(rarTestData("v20/test_v2.rar"));
    const std::string ostrak = write("ostrak.rar", patched(real, 0, "Ostrak!"));
    const Extraction got = extract(ostrak, "p1.bin");
    ASSERT_TRUE(got.ok);
    EXPECT_EQ(crc32Of(got.bytes), 0x10751abau);

    EXPECT_FALSE(extract(write("old.rar", patched(real, 0, "RE~^")), "p1.bin").ok);
    EXPECT_FALSE(extract(write("sfx.rar", patched(real, 0, "MZ")), "p1.bin").ok);
    EXPECT_FALSE(extract(write("short.rar", "Rar!"), "p1.bin").ok);
    EXPECT_FALSE(extract(m_dir.file("missing.rar"), "p1.bin").ok);
    const std::string text = log();
    EXPECT_NE(text.find("Attention: format as OLD detected! Can't handel archive!"),
              std::string::npos);
    EXPECT_NE(text.find("unknown archive type (only plain RAR supported (normal and solid "
                        "archives, volumes), SFX is NOT supported!)"),
              std::string::npos);
    EXPECT_NE(text.find("Not a RAR file"), std::string::npos);
    EXPECT_NE(text.find("Error opening file."), std::string::npos);
}

TEST_F(RarArchiveTest, NormalArchiveSkipsEarlierEntriesUnread) {
    // Spoil the packed data of p1.bin: a later entry of a normal archive never looks at it.
    const std::string real = readWholeFile(rarTestData("v20/test_v2.rar"));
    const std::string spoilt = write("spoilt.rar", patched(real, 16442 + 38 + 100, "XXXXXXXX"));
    EXPECT_FALSE(extract(spoilt, "p1.bin").ok);
    const Extraction later = extract(spoilt, "p5.bin");
    ASSERT_TRUE(later.ok);
    EXPECT_EQ(crc32Of(later.bytes), 0x10751abau);
}

TEST_F(RarArchiveTest, SolidArchiveDecodesEarlierEntries) {
    const std::string archive = rarTestData("v20/test_v2solid5.rar");
    const Extraction second = extract(archive, "P5_SOLID.BIN");
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(crc32Of(second.bytes), 0x10751abau);
    // The second entry's 50 packed bytes mean nothing without the first: spoil the first and
    // the second fails with it.
    const std::string real = readWholeFile(archive);
    const std::string spoilt = write("spoilt.rar", patched(real, 20 + 38 + 200, "XXXXXXXX"));
    EXPECT_FALSE(extract(spoilt, "p5_solid.bin").ok);
}

TEST_F(RarArchiveTest, EncryptedEntryDecryptsOnlyWithItsPassword) {
    const std::string archive = rarTestData("v20/rar202-comment-psw.rar");
    const std::pair<const char*, uint32_t> entries[] = {{"FILE1.TXT", 0x7a197dbau},
                                                        {"FILE2.TXT", 0x785fc3e3u}};
    for (const auto& [name, crc] : entries) {
        SCOPED_TRACE(name);
        const Extraction right = extract(archive, name, "password");
        ASSERT_TRUE(right.ok);
        EXPECT_EQ(right.bytes.size(), 7u);
        EXPECT_EQ(crc32Of(right.bytes), crc);
        // A near miss decrypts to other bytes, which the decoder or the CRC-32 check refuses.
        EXPECT_FALSE(extract(archive, name, "passwore").ok);
        EXPECT_FALSE(extract(archive, name).ok);
    }
    // A password given for an entry that is not encrypted changes nothing.
    EXPECT_TRUE(extract(rarTestData("v20/rar202-comment-nopsw.rar"), "FILE2.TXT", "x").ok);
}

TEST_F(RarArchiveTest, EncryptedStoredEntryDecryptsWithItsPassword) {
    // Not a whole number of cipher blocks: the last is padded, and only the entry's own
    // bytes come back.
    const std::string text = "stored, encrypted, and not a multiple.";
    RarTestWriter writer;
    writer.addEncryptedStored("secret.txt", text, "open sesame");
    writer.addStored("plain.txt", "after it");
    const std::string archive = write("stored.rar", writer.bytes());
    const Extraction right = extract(archive, "secret.txt", "open sesame");
    ASSERT_TRUE(right.ok);
    EXPECT_EQ(right.bytes, text);
    EXPECT_FALSE(extract(archive, "secret.txt", "open sesamE").ok);
    EXPECT_FALSE(extract(archive, "secret.txt").ok);
    EXPECT_TRUE(extract(archive, "plain.txt").ok);
}

TEST_F(RarArchiveTest, DebugLogLinesAndMaskedPassword) {
    extract(rarTestData("v20/rar202-comment-nopsw.rar"), "FILE1.TXT", "secret-word");
    extract(rarTestData("v20/rar202-comment-nopsw.rar"), "absent.txt");
    const std::string text = log();
    EXPECT_EQ(text.find("secret-word"), std::string::npos);
    EXPECT_NE(text.find("(executable compiled on "), std::string::npos);
    EXPECT_NE(text.find("(line 411 in engine/rar/RarArchive.cpp):\n              - Extracting "
                        ">FILE1.TXT< from >"),
              std::string::npos);
    EXPECT_NE(text.find("(password is >********<)..."), std::string::npos);
    EXPECT_NE(text.find("(password is ><)..."), std::string::npos);
    EXPECT_NE(text.find("(line 454 in engine/rar/RarArchive.cpp):\n              - Extracted 7 "
                        "Bytes."),
              std::string::npos);
    // A missing entry has no message of its own, only the final one.
    const size_t absent = text.find(">absent.txt<");
    ASSERT_NE(absent, std::string::npos);
    const std::string tail = text.substr(text.find('\n', absent));
    EXPECT_NE(tail.find("line 454"), std::string::npos);
    EXPECT_NE(tail.find("- Error - couldn't extract >absent.txt< and allocated 0 Bytes"),
              std::string::npos);
    EXPECT_EQ(tail.find("line 9"), std::string::npos);
    // Each message: the elapsed time in eight columns, line and source, then the text.
    const std::regex entry(" [ 0-9]{8} ms \\(line [0-9]+ in engine/rar/RarArchive\\.cpp\\):\n"
                           " {14}- [^\n]*\n");
    const auto count = std::distance(std::sregex_iterator(text.begin(), text.end(), entry),
                                     std::sregex_iterator());
    EXPECT_EQ(count, 4); // two extractions, two messages each
}

TEST_F(RarArchiveTest, LongNamesAreRefusedNotCut) {
    const std::string archive = rarTestData("v20/rar202-comment-nopsw.rar");
    EXPECT_FALSE(extract(archive, std::string(260, 'A')).ok);
    EXPECT_FALSE(extract(std::string(256, 'a'), "FILE1.TXT").ok);
    EXPECT_FALSE(extract(archive, "FILE1.TXT", std::string(256, 'p').c_str()).ok);
    EXPECT_TRUE(extract(archive, "FILE1.TXT", std::string(255, 'p').c_str()).ok);

    // A stored name of 260 bytes never matches, not even by its first 259.
    RarTestWriter writer;
    const std::string longName(260, 'n');
    writer.addStored(longName, "long");
    writer.addStored("short", "fine");
    const std::string file = write("long.rar", writer.bytes());
    EXPECT_FALSE(extract(file, longName).ok);
    EXPECT_FALSE(extract(file, longName.substr(0, 259)).ok);
    EXPECT_EQ(extract(file, "short").bytes, "fine");
    const std::string text = log();
    EXPECT_NE(text.find("Entry name is longer than 259 characters - refused."), std::string::npos);
    EXPECT_NE(text.find("Archive name is longer than 255 characters"), std::string::npos);
    EXPECT_NE(text.find("Password is longer than 255 characters"), std::string::npos);
    EXPECT_NE(text.find("longer than 259 bytes - entry never matches"), std::string::npos);
}

TEST_F(RarArchiveTest, ImpossibleSizesFailBeforeAllocating) {
    RarTestWriter writer;
    writer.addStored("liar", "four", 0, 0xFFFFFFF0);
    EXPECT_FALSE(extract(write("liar.rar", writer.bytes()), "liar").ok);

    // A compressed entry claiming 4 GiB from 8 KiB of packed data.
    const std::string real = readWholeFile(rarTestData("v20/test_v2.rar"));
    const std::string huge = write("huge.rar", patched(real, 33007 + 11, u32(0xFFFFFFF0)));
    EXPECT_FALSE(extract(huge, "p3.bin").ok);
    // Packed data running past the end of the file.
    const std::string past = write("past.rar", patched(real, 57672 + 7, u32(0x7FFFFFFF)));
    EXPECT_FALSE(extract(past, "pMM.bin").ok);
    const std::string text = log();
    EXPECT_NE(text.find("Unpacked size 4294967280 is impossible"), std::string::npos);
    EXPECT_NE(text.find("Entry data runs past the end of the archive."), std::string::npos);
}

TEST_F(RarArchiveTest, StoredEntriesAndSubBlocks) {
    RarTestWriter writer(true);
    writer.addStored("first", "one");
    writer.addStored("dir\\second", "two two");
    writer.addBlock(0x77, "owner");
    writer.addStored("third", "three");
    const std::string file = write("stored.rar", writer.bytes());
    EXPECT_EQ(extract(file, "first").bytes, "one");
    EXPECT_EQ(extract(file, "DIR/SECOND").bytes, "two two");
    // An old sub-block between entries is stepped over like any other block.
    EXPECT_EQ(extract(file, "third").bytes, "three");

    // Stored data cut short is a read error, not a block of garbage.
    const std::string cut = write("cut.rar", writer.bytes().substr(0, 20 + 37 + 1));
    EXPECT_FALSE(extract(cut, "first").ok);
}

TEST_F(RarArchiveTest, NullOutputArgumentsAreTolerated) {
    uint32_t size = 7;
    EXPECT_EQ(extractFromArchive(nullptr, &size, "FILE1.TXT",
                                 rarTestData("v20/rar202-comment-nopsw.rar").c_str(), nullptr),
              1);
    uint8_t* data = nullptr;
    EXPECT_EQ(extractFromArchive(&data, nullptr, nullptr, "x.rar", nullptr), 0);
    EXPECT_EQ(data, nullptr);
}

TEST(RarListing, ListsEveryFileEntry) {
    std::vector<RarEntryInfo> entries;
    std::string error;
    ASSERT_TRUE(listRarArchive(rarTestData("v20/test_v2.rar").c_str(), entries, error));
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[6].name, "pMM.bin");
    EXPECT_EQ(entries[6].packedSize, 13321u);
    EXPECT_EQ(entries[6].unpackedSize, 16384u);
    EXPECT_EQ(entries[6].method, 0x33);
    EXPECT_EQ(entries[6].unpackVersion, 20);
    EXPECT_EQ(entries[6].crc32, 0x10751abau);
    EXPECT_FALSE(listRarArchive("/nonexistent.rar", entries, error));
    EXPECT_FALSE(error.empty());
}

namespace {

// Megabytes of data that repeat at short, middle and near-window distances, so that matches
// of every distance class occur and the window wraps several times.
std::string syntheticData(size_t size) {
    std::mt19937 random(99);
    std::string data;
    data.reserve(size);
    const size_t distances[] = {1, 7, 300, 0x2100, 0x41000, 0xF8000};
    while (data.size() < size) {
        const size_t distance = distances[random() % 6];
        const size_t length = 3 + random() % 400;
        if (data.size() > distance && random() % 4 != 0) {
            for (size_t i = 0; i < length; ++i) {
                data += data[data.size() - distance];
            }
        } else {
            for (size_t i = 0; i < length / 8 + 1; ++i) {
                data += static_cast<char>(random() % 64);
            }
        }
    }
    data.resize(size);
    return data;
}

} // namespace

TEST_F(RarArchiveTest, LargeCompressedEntryWrapsTheWindow) {
    const std::string data = syntheticData(3 * 1024 * 1024 + 17);
    RarTestWriter writer;
    writer.addStored("before", "skip me");
    writer.addCompressed("big.bin", data);
    writer.addCompressed("small.bin", "abcabcabcabcabcabc");
    const std::string file = write("big.rar", writer.bytes());
    const Extraction got = extract(file, "big.bin");
    ASSERT_TRUE(got.ok);
    ASSERT_EQ(got.bytes.size(), data.size());
    EXPECT_TRUE(got.bytes == data);
    EXPECT_EQ(extract(file, "small.bin").bytes, "abcabcabcabcabcabc");
}

TEST_F(RarArchiveTest, OutputNeverGrowsPastTheUnpackedSize) {
    // One literal and a long match: a header claiming ten bytes cannot hold the match.
    RarTestWriter writer;
    writer.addCompressed("short", std::string(300, 'a'), 10);
    EXPECT_FALSE(extract(write("short.rar", writer.bytes()), "short").ok);
    EXPECT_NE(log().find("- Fatal! Buffer overrun during decompression!"), std::string::npos);
}
