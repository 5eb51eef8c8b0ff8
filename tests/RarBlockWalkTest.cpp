// Blocks other than file headers (old sub-blocks, comments, recovery records, the end block)
// are stepped over by their sizes, the same way by extraction and by listing.
#include "engine/rar/RarArchive.h"

#include "RarTestSupport.h"
#include "RarTestWriter.h"

#include <gtest/gtest.h>

namespace {

using RarBlockWalkTest = RarLogTest;

// What a RAR 2.x writer on a Macintosh puts after a file header: sub-block type 0x102, level
// 0, then the file type and creator.
const std::string kMacSubBlockTail = std::string("\x02\x01\x00", 3) + "TEXTttxt";

std::vector<std::string> listedNames(const std::string& path, bool& ok) {
    std::vector<RarEntryInfo> entries;
    std::string error;
    ok = listRarArchive(path.c_str(), entries, error);
    std::vector<std::string> names;
    for (const RarEntryInfo& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

} // namespace

TEST_F(RarBlockWalkTest, MacSubBlockAndEndBlockBetweenEntries) {
    for (const bool solid : {false, true}) {
        SCOPED_TRACE(solid ? "solid" : "normal");
        RarTestWriter writer(solid);
        writer.addStored("first.txt", "stored before the sub-block");
        writer.addBlock(0x77, "resource fork", kMacSubBlockTail);
        writer.addShortBlock(0x7b, 0x4000);
        writer.addStored("second.txt", "stored after the end block");
        const std::string file = write("mac.rar", writer.bytes());
        EXPECT_EQ(extract(file, "first.txt").bytes, "stored before the sub-block");
        EXPECT_EQ(extract(file, "second.txt").bytes, "stored after the end block");
        bool listed = false;
        const std::vector<std::string> names = listedNames(file, listed);
        EXPECT_TRUE(listed);
        EXPECT_EQ(names, (std::vector<std::string>{"first.txt", "second.txt"}));
    }
}

TEST_F(RarBlockWalkTest, BlockSizesAreCheckedBeforeStepping) {
    // A sub-block whose data would run past the end of the file ends the walk.
    RarTestWriter longData;
    longData.addStored("a", "kept");
    const size_t subBlock = longData.bytes().size();
    longData.addBlock(0x77, "data", kMacSubBlockTail);
    longData.addStored("b", "unreachable");
    const std::string past =
        write("past.rar", patched(longData.bytes(), subBlock + 7, "\xff\xff\xff\xff"));
    EXPECT_EQ(extract(past, "a").bytes, "kept");
    EXPECT_FALSE(extract(past, "b").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::NoSuchEntry);
    bool listed = false;
    EXPECT_EQ(listedNames(past, listed), std::vector<std::string>{"a"});
    EXPECT_TRUE(listed);

    // A data flag on a header too short to hold the data size is damage, not a size to trust.
    RarTestWriter shortHeader;
    shortHeader.addStored("a", "kept");
    shortHeader.addShortBlock(0x77, 0x8000);
    shortHeader.addStored("b", "unreachable");
    const std::string damaged = write("short.rar", shortHeader.bytes());
    EXPECT_FALSE(extract(damaged, "b").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::DamagedHeader);
    EXPECT_NE(log().find("Block header damaged or cut short."), std::string::npos);
    EXPECT_EQ(listedNames(damaged, listed), std::vector<std::string>{"a"});
    EXPECT_FALSE(listed);
}
