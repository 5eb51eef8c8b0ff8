#include "engine/rar/RarArchive.h"

#include "Rar20TestEncoder.h"
#include "RarTestSupport.h"
#include "RarTestWriter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

struct Target {
    const char* file;
    const char* entry;
    uint32_t crc;
};

// One entry of every kind: stored, LZ, multimedia, solid successor, and a big LZ one.
const Target kTargets[] = {
    {"v20/test_v2.rar", "p0.bin", 0x10751aba},
    {"v20/test_v2.rar", "p3.bin", 0x10751aba},
    {"v20/test_v2.rar", "pMM.bin", 0x10751aba},
    {"v20/test_v2solid5.rar", "p5_solid.bin", 0x10751aba},
    {"v20/Rar2.rar", "jpg\\test.jpg", 0x088814e3},
    {"v20/rar202-comment-psw.rar", "FILE2.TXT", 0x785fc3e3},
};

// A damaged archive may still yield the entry when the damage misses it, but then the bytes
// must be the right ones: anything else has to be a clean failure.
void expectCleanOutcome(const std::string& path, const Target& target) {
    const Extraction got = extract(path, target.entry, "password");
    if (got.ok) {
        EXPECT_EQ(crc32Of(got.bytes), target.crc);
    }
}

size_t openFileCount() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

} // namespace

TEST(RarRobustness, TruncatedArchivesFailCleanly) {
    TempDir dir;
    // Every way out, of extraction and of listing, closes the archive: no descriptor may stay
    // behind.
    const size_t filesBefore = openFileCount();
    for (const Target& target : kTargets) {
        SCOPED_TRACE(target.entry);
        const std::string bytes = readWholeFile(rarTestData(target.file));
        ASSERT_FALSE(bytes.empty());
        const size_t step = bytes.size() < 1024 ? 1 : bytes.size() / 150;
        for (size_t length = 0; length < bytes.size(); length += step) {
            const std::string path = dir.write("cut.rar", bytes.substr(0, length));
            const Extraction got = extract(path, target.entry, "password");
            std::vector<RarEntryInfo> listed;
            std::string why;
            listRarArchive(path.c_str(), listed, why); // the listing must close it too
            // Every target's data reaches the end of its archive but for trailing blocks.
            if (length + 1024 < bytes.size() || bytes.size() < 1024) {
                if (got.ok) {
                    EXPECT_EQ(crc32Of(got.bytes), target.crc) << "cut at " << length;
                }
            }
        }
    }
    EXPECT_EQ(openFileCount(), filesBefore);
}

TEST(RarRobustness, FlippedBytesFailCleanly) {
    TempDir dir;
    std::mt19937 random(20261206);
    for (const Target& target : kTargets) {
        SCOPED_TRACE(target.entry);
        const std::string bytes = readWholeFile(rarTestData(target.file));
        for (int trial = 0; trial < 120; ++trial) {
            std::string damaged = bytes;
            const int flips = 1 + trial % 4;
            for (int i = 0; i < flips; ++i) {
                const size_t at = random() % damaged.size();
                damaged[at] = static_cast<char>(damaged[at] ^ (1 << (random() % 8)));
            }
            expectCleanOutcome(dir.write("flipped.rar", damaged), target);
        }
    }
}

TEST(RarRobustness, RandomBytesAfterAValidHeaderFailCleanly) {
    TempDir dir;
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        RarTestWriter writer(trial % 2 == 0);
        std::string noise(64 + random() % 4096, '\0');
        for (char& c : noise) {
            c = static_cast<char>(random());
        }
        const std::string bytes = writer.bytes() + noise;
        const Extraction got = extract(dir.write("noise.rar", bytes), "x");
        EXPECT_FALSE(got.ok);
    }
}

TEST(RarRobustness, DamagedVolumeSetsFailCleanly) {
    std::string stored;
    std::string packed;
    for (int i = 0; i < 300; ++i) {
        stored += std::to_string(i * 31 % 1000) + " stored; ";
        packed += std::to_string(i % 17) + " compressed across volumes; ";
    }
    const size_t packedSize = encodeRar20(packed).size();
    RarVolumeSetWriter set;
    set.addSplitStored("stored.txt", stored, {700, 1900});
    set.addSplitCompressed("packed.txt", packed, {packedSize / 3, packedSize * 2 / 3});
    const std::vector<std::string> volumes = set.volumes();
    const std::vector<std::string> names = {"set.rar", "set.r00", "set.r01", "set.r02", "set.r03"};
    ASSERT_EQ(volumes.size(), names.size());
    const std::pair<const char*, uint32_t> targets[] = {{"stored.txt", crc32Of(stored)},
                                                        {"packed.txt", crc32Of(packed)}};
    TempDir dir;
    // Every part a reading opens is closed again, whichever way the reading ends.
    const size_t filesBefore = openFileCount();
    std::mt19937 random(11);
    for (int trial = 0; trial < 150; ++trial) {
        std::vector<std::string> damaged = volumes;
        std::string& volume = damaged[random() % damaged.size()];
        if (trial % 5 == 0) {
            volume.resize(random() % volume.size());
        } else {
            for (int i = 0; i < 1 + trial % 3; ++i) {
                volume[random() % volume.size()] ^= static_cast<char>(1 << (random() % 8));
            }
        }
        for (size_t i = 0; i < names.size(); ++i) {
            dir.write(names[i], damaged[i]);
        }
        for (const auto& [entry, crc] : targets) {
            const Extraction got = extract(dir.file("set.rar"), entry);
            if (got.ok) {
                EXPECT_EQ(crc32Of(got.bytes), crc) << entry << " in trial " << trial;
            }
        }
        std::vector<RarEntryInfo> listed;
        std::string why;
        listRarArchive(dir.file("set.rar").c_str(), listed, why);
    }
    EXPECT_EQ(openFileCount(), filesBefore);
}
