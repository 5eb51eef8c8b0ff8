#include "engine/resources/ResourceStream.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(ResourceFile, ReadsWholeFileWithTerminatingZero) {
    TempDir dir;
    const std::string path = dir.write("three.bin", std::string("abc", 3));
    ResourceFile file;
    ASSERT_TRUE(file.open(path.c_str()));
    ASSERT_EQ(file.size(), 3u);
    EXPECT_EQ(std::memcmp(file.data(), "abc", 3), 0);
    EXPECT_EQ(file.data()[3], 0);
    EXPECT_STREQ(file.name(), path.c_str());
    EXPECT_EQ(file.archive(), nullptr);

    // A second open keeps the first contents, whatever the name.
    const std::string other = dir.write("other.bin", "zzzz");
    EXPECT_TRUE(file.open(other.c_str()));
    EXPECT_EQ(file.size(), 3u);
    file.close();
    EXPECT_EQ(file.data(), nullptr);
}

TEST(ResourceFile, EmptyAndMissingFiles) {
    TempDir dir;
    const std::string empty = dir.write("empty.bin", "");
    ResourceFile file;
    ASSERT_TRUE(file.open(empty.c_str()));
    EXPECT_EQ(file.size(), 0u);
    ASSERT_NE(file.data(), nullptr);
    EXPECT_EQ(file.data()[0], 0);

    ResourceFile missing;
    EXPECT_FALSE(missing.open(dir.file("nothing-here").c_str()));
    EXPECT_EQ(missing.data(), nullptr);
    EXPECT_EQ(missing.size(), 0u);
    EXPECT_NE(missing.name(), nullptr);

    ResourceFile directory;
    EXPECT_FALSE(directory.open(dir.path().c_str()));
}

TEST(ResourceFile, ArchiveWithoutReaderFailsCleanly) {
    TempDir dir;
    const std::string path = dir.write("loose.bin", "loose");
    archiveName = "missing.rar";
    ResourceFile file;
    EXPECT_FALSE(file.open(path.c_str()));
    EXPECT_STREQ(file.archive(), "missing.rar");
    EXPECT_EQ(file.data(), nullptr);
    EXPECT_EQ(file.size(), 0u);
    archiveName = nullptr;
}

TEST(ResourceStream, SequentialAndAbsoluteReads) {
    TempDir dir;
    const std::string path = dir.write("stream.bin", "0123456789");
    ResourceStream stream;
    ASSERT_TRUE(stream.open(path.c_str()));
    EXPECT_TRUE(stream.opened());

    char buf[4] = {};
    ASSERT_TRUE(stream.read(buf, 3));
    EXPECT_EQ(std::string(buf, 3), "012");
    ASSERT_TRUE(stream.read(buf, 2));
    EXPECT_EQ(std::string(buf, 2), "34");
    stream.seek(7);
    ASSERT_TRUE(stream.read(buf, 3));
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_EQ(stream.remaining(), 0u);
    EXPECT_FALSE(stream.overrun());
    stream.close();
}

TEST(ResourceStream, ReadsPastTheEndAreRefusedAndZeroFilled) {
    TempDir dir;
    const std::string path = dir.write("short.bin", "abcd");
    ResourceStream stream;
    ASSERT_TRUE(stream.open(path.c_str()));
    stream.seek(2);
    char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(stream.read(buf, 3)); // would take the terminating zero and one more
    EXPECT_EQ(std::memcmp(buf, "\0\0\0x", 4), 0);
    EXPECT_TRUE(stream.overrun());
    EXPECT_EQ(stream.position(), 2u);

    stream.seek(100);
    EXPECT_EQ(stream.remaining(), 0u);
    EXPECT_FALSE(stream.read(buf, 1));

    ResourceStream closed;
    EXPECT_FALSE(closed.open(dir.file("absent").c_str()));
    EXPECT_FALSE(closed.opened());
    EXPECT_FALSE(closed.read(buf, 1));
    EXPECT_EQ(buf[0], 0);
    EXPECT_TRUE(closed.overrun());
}

TEST(ResourceFile, ReadsThroughTheArchiveWhenOneIsNamed) {
    TempDir dir;
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp != nullptr ? oldTmp : "";
    setenv("TMPDIR", dir.path().c_str(), 1); // keep the archive reader's debug log in here
    const std::string archive = std::string(TARNELIX_RAR_TESTDATA) + "/v20/Rar2.rar";
    archiveName = archive.c_str();
    ResourceFile file;
    const bool opened = file.open("exe/test.exe");
    ResourceFile missing;
    const bool missingOpened = missing.open("not-in-there.bin");
    archiveName = nullptr;

    ASSERT_TRUE(opened);
    EXPECT_EQ(file.size(), 45056u);
    EXPECT_STREQ(file.archive(), archive.c_str());
    EXPECT_STREQ(file.name(), "exe/test.exe");
    EXPECT_EQ(file.data()[0], 'M'); // an executable starts with its "MZ" stamp
    EXPECT_FALSE(missingOpened);
    EXPECT_EQ(missing.data(), nullptr);
    EXPECT_EQ(missing.size(), 0u);
    if (oldTmp != nullptr) {
        setenv("TMPDIR", savedTmp.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}
