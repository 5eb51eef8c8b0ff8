// The archives in tests/data/rar/sets (for rar-extract's own tests) and tests/data/rar/seeds
// (for the fuzzer) come from the test writer. This keeps the checked-in copies equal to what
// the writer builds; with TARNELIX_RAR_WRITE_BUILT set it writes them afresh instead.
#include "Rar20TestEncoder.h"
#include "RarTestSupport.h"
#include "RarTestWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

struct BuiltFile {
    std::string path; // under tests/data/rar
    std::string bytes;
};

std::string joined(const std::vector<std::string>& volumes) {
    std::string all;
    for (const std::string& volume : volumes) {
        all += volume;
    }
    return all;
}

std::string lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "line " + std::to_string(i * 37 % 101) + " of an entry split across volumes\n";
    }
    return text;
}

// Old numbering: a whole entry, a stored one in three parts, a compressed one in two.
std::vector<std::string> oldStyleSet() {
    RarVolumeSetWriter set;
    set.volume().addStored("before.txt", "whole in the first volume\n");
    set.addSplitStored("split.txt", lines(70), {1000, 2500});
    const std::string packed = lines(80);
    set.addSplitCompressed("packed.txt", packed, {encodeRar20(packed).size() / 2});
    return set.volumes();
}

// New numbering with zero padding, solid: a compressed entry in three parts.
std::vector<std::string> newStyleSet() {
    RarVolumeSetWriter set(RarVolumeSetWriter::kNewNumbering, true);
    set.addSplitCompressed("parts.txt", lines(120), {100, 101});
    set.volume().addStored("last.txt", "after the split entry\n");
    return set.volumes();
}

// A first volume whose entry goes on in a volume that is not there.
std::string cutSet() {
    RarVolumeSetWriter set;
    set.addSplitStored("split.txt", lines(20), {300});
    return set.volumes().front();
}

std::string withSubBlocks() {
    RarTestWriter writer;
    writer.addStored("first.txt", "before the sub-block\n");
    writer.addBlock(0x77, "resource fork", std::string("\x02\x01\x00", 3) + "TEXTttxt");
    writer.addShortBlock(0x7b, 0x4000);
    writer.addStored("second.txt", "after the end-of-archive block\n");
    return writer.bytes();
}

constexpr size_t kFirstHeader = 7 + 13;

std::vector<BuiltFile> builtFiles() {
    const std::vector<std::string> old = oldStyleSet();
    RarTestWriter one;
    one.addStored("data.txt", "the stored bytes of one entry\n");
    return {
        {"sets/split.rar", old[0]},
        {"sets/split.r00", old[1]},
        {"sets/split.r01", old[2]},
        {"sets/split.r02", old[3]},
        {"sets/cut.rar", cutSet()},
        {"sets/damaged.rar", patched(one.bytes(), kFirstHeader + 32 + 8 + 4, "#")},
        {"sets/badheader.rar", patched(one.bytes(), kFirstHeader + 16, "\x01")},
        // The fuzzer cuts its input into volumes at each marker.
        {"seeds/split-old.rar", joined(old)},
        {"seeds/split-new.rar", joined(newStyleSet())},
        {"seeds/cut.rar", cutSet()},
        {"seeds/subblocks.rar", withSubBlocks()},
    };
}

} // namespace

TEST(RarBuiltArchives, CheckedInCopiesMatchTheWriter) {
    const bool rewrite = std::getenv("TARNELIX_RAR_WRITE_BUILT") != nullptr;
    for (const BuiltFile& file : builtFiles()) {
        SCOPED_TRACE(file.path);
        const std::string path = rarTestData(file.path);
        if (rewrite) {
            std::ofstream(path, std::ios::binary)
                .write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        }
        EXPECT_TRUE(readWholeFile(path) == file.bytes);
    }
}
