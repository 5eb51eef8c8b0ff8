// Multi-volume sets: volume names, entries split across volumes, and the ways a set is
// incomplete or damaged.
#include "engine/rar/RarArchive.h"
#include "engine/rar/RarVolumeName.h"

#include "Rar20TestEncoder.h"
#include "RarTestSupport.h"
#include "RarTestWriter.h"

#include <gtest/gtest.h>

namespace {

using rar::nextVolumeName;

class RarVolumeTest : public RarLogTest {
protected:
    // Writes the volumes under the given names and returns the first one's path.
    std::string writeSet(const std::vector<std::string>& names,
                         const std::vector<std::string>& volumes) const {
        EXPECT_EQ(names.size(), volumes.size());
        for (size_t i = 0; i < names.size() && i < volumes.size(); ++i) {
            write(names[i], volumes[i]);
        }
        return m_dir.file(names.front());
    }
};

std::string text(size_t size) {
    std::string data;
    for (size_t i = 0; data.size() < size; ++i) {
        data += "line " + std::to_string(i * 7919 % 1000) + " of a split entry\n";
    }
    data.resize(size);
    return data;
}

// Three old-style volumes: a whole entry, a stored entry cut twice, and a whole one after it.
RarVolumeSetWriter storedSet(const std::string& split) {
    RarVolumeSetWriter set;
    set.volume().addStored("before.txt", "whole in the first volume");
    set.addSplitStored("split.txt", split, {1000, 2500});
    set.volume().addStored("after.txt", "whole in the last volume");
    return set;
}

const std::vector<std::string> kOldNames = {"set.rar", "set.r00", "set.r01"};

} // namespace

TEST(RarVolumeName, OldAndNewNumbering) {
    EXPECT_EQ(nextVolumeName("dir.d/a.rar", false), "dir.d/a.r00");
    EXPECT_EQ(nextVolumeName("a.r09", false), "a.r10");
    EXPECT_EQ(nextVolumeName("a.r99", false), "a.s00");
    EXPECT_EQ(nextVolumeName("A.RAR", false), "A.R00");
    EXPECT_EQ(nextVolumeName("a.z99", false), "");
    EXPECT_EQ(nextVolumeName("a.part1.rar", true), "a.part2.rar");
    EXPECT_EQ(nextVolumeName("a.part09.rar", true), "a.part10.rar");
    EXPECT_EQ(nextVolumeName("a.part99.rar", true), "a.part100.rar");
    EXPECT_EQ(nextVolumeName("v2/a.rar", true), "");
}

TEST_F(RarVolumeTest, StoredEntryJoinsItsParts) {
    const std::string split = text(3000);
    const std::string first = writeSet(kOldNames, storedSet(split).volumes());
    EXPECT_EQ(extract(first, "split.txt").bytes, split);
    EXPECT_EQ(extract(first, "before.txt").bytes, "whole in the first volume");
    // The walk goes on through the volumes to entries after the split one.
    EXPECT_EQ(extract(first, "after.txt").bytes, "whole in the last volume");
}

TEST_F(RarVolumeTest, CompressedEntryCutAnywhereJoinsItsParts) {
    std::string data;
    for (int i = 0; i < 4000; ++i) {
        data += "entry " + std::to_string(i % 97) + " compressed across volumes; ";
    }
    const size_t packed = encodeRar20(data).size();
    ASSERT_GT(packed, 1000u);
    // Zero-padded new-style names, and parts of one byte and of none.
    RarVolumeSetWriter set(RarVolumeSetWriter::kNewNumbering);
    set.addSplitCompressed("big.txt", data, {1, 2, 2, packed / 2});
    set.volume().addCompressed("last.txt", "abcabcabcabc");
    const std::string first = writeSet(
        {"set.part01.rar", "set.part02.rar", "set.part03.rar", "set.part04.rar", "set.part05.rar"},
        set.volumes());
    const Extraction got = extract(first, "big.txt");
    ASSERT_TRUE(got.ok);
    EXPECT_TRUE(got.bytes == data);
    EXPECT_EQ(extract(first, "last.txt").bytes, "abcabcabcabc");
}

TEST_F(RarVolumeTest, SolidSetDecodesSplitEntriesOnTheWay) {
    RarVolumeSetWriter set(0, true);
    const std::string data(50000, 'x');
    set.addSplitCompressed("first.bin", data, {10});
    set.volume().addStored("wanted.txt", "after a split entry of a solid set");
    const std::vector<std::string> volumes = set.volumes();
    const std::string first = writeSet({"solid.rar", "solid.r00"}, volumes);
    EXPECT_EQ(extract(first, "wanted.txt").bytes, "after a split entry of a solid set");
    // Every entry before the wanted one is decoded: spoil the first part and the wanted one
    // fails with it.
    write("solid.rar", patched(volumes[0], volumes[0].size() - 5, "XXXXX"));
    EXPECT_FALSE(extract(first, "wanted.txt").ok);
}

TEST_F(RarVolumeTest, MissingVolumeIsNamed) {
    const std::vector<std::string> volumes = storedSet(text(3000)).volumes();
    const std::string first = writeSet({"set.rar", "set.r00"}, {volumes[0], volumes[1]});
    EXPECT_FALSE(extract(first, "split.txt").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::VolumeMissing);
    EXPECT_EQ(rarLastExtractStatus().volume, m_dir.file("set.r01"));
    EXPECT_NE(log().find("Next volume >" + m_dir.file("set.r01") + "< is missing."),
              std::string::npos);
    // The walk cannot get past the split entry to the ones behind it, but those before it
    // are whole.
    EXPECT_FALSE(extract(first, "after.txt").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::VolumeMissing);
    EXPECT_TRUE(extract(first, "before.txt").ok);
}

TEST_F(RarVolumeTest, EachPartsPackedCrcAndTheWholeCrcAreChecked) {
    const std::string split = text(3000);
    const std::vector<std::string> volumes = storedSet(split).volumes();
    // The first volume ends with the first 1000 packed bytes: spoil one of them.
    std::vector<std::string> badFirst = volumes;
    badFirst[0] = patched(volumes[0], volumes[0].size() - 10, "#");
    const std::string first = writeSet(kOldNames, badFirst);
    EXPECT_FALSE(extract(first, "split.txt").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::DataCrc);
    EXPECT_EQ(rarLastExtractStatus().volume, first);
    EXPECT_NE(log().find("CRC32 error in the packed data of volume >" + first + "<."),
              std::string::npos);

    // The last part has no packed CRC of its own: the whole entry's CRC-32 catches it.
    std::vector<std::string> badLast = volumes;
    const size_t lastData = 7 + 13 + 32 + std::string("split.txt").size();
    badLast[2] = patched(volumes[2], lastData + 3, "#");
    writeSet(kOldNames, badLast);
    EXPECT_FALSE(extract(first, "split.txt").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::DataCrc);
    EXPECT_EQ(rarLastExtractStatus().volume, "");
    EXPECT_NE(log().find("CRC32 error - file couldn't be decompressed correctly!"),
              std::string::npos);
}

TEST_F(RarVolumeTest, EntryBeginningBeforeTheFirstVolumeIsRefused) {
    const std::string first = writeSet(kOldNames, storedSet(text(3000)).volumes());
    const std::string middle = m_dir.file("set.r00");
    EXPECT_FALSE(extract(middle, "split.txt").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::StartsInEarlierVolume);
    EXPECT_EQ(extract(middle, "after.txt").bytes, "whole in the last volume");
}

TEST_F(RarVolumeTest, VolumeThatDoesNotContinueTheEntryIsDamage) {
    std::vector<std::string> volumes = storedSet(text(3000)).volumes();
    RarVolumeSetWriter stranger;
    stranger.volume().addStored("split.txt", "a whole entry of the same name");
    volumes[1] = stranger.volumes()[0];
    const std::string first = writeSet(kOldNames, volumes);
    EXPECT_FALSE(extract(first, "split.txt").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::DamagedHeader);
    EXPECT_NE(log().find("Volume >" + m_dir.file("set.r00") + "< does not continue >split.txt<."),
              std::string::npos);
}

TEST_F(RarVolumeTest, ListingShowsSplitEntriesOnce) {
    const std::string split = text(3000);
    const std::vector<std::string> volumes = storedSet(split).volumes();
    const std::string first = writeSet(kOldNames, volumes);
    std::vector<RarEntryInfo> entries;
    std::string error;
    ASSERT_TRUE(listRarArchive(first.c_str(), entries, error));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].name, "split.txt");
    EXPECT_EQ(entries[1].unpackedSize, 3000u);
    EXPECT_EQ(entries[1].packedSize, 3000u);
    EXPECT_EQ(entries[1].crc32, crc32Of(split));
    EXPECT_EQ(entries[1].flags & 0x03, 0);
    EXPECT_EQ(entries[2].name, "after.txt");

    // Without its last volume the entry is listed as going on, and the listing says why it
    // stopped.
    std::remove(m_dir.file("set.r01").c_str());
    entries.clear();
    EXPECT_FALSE(listRarArchive(first.c_str(), entries, error));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].flags & 0x03, 0x02);
    EXPECT_NE(error.find("set.r01"), std::string::npos);
}
