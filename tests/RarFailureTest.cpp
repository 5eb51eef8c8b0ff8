// Why an extraction failed, as the reader reports it beside its yes-or-no result: the
// password is blamed only where one was involved.
#include "engine/rar/RarArchive.h"

#include "RarTestSupport.h"
#include "RarTestWriter.h"

#include <gtest/gtest.h>

namespace {

using RarFailureTest = RarLogTest;

RarFailure failureOf(const std::string& archive, const std::string& entry,
                     const char* password = nullptr) {
    EXPECT_FALSE(extract(archive, entry, password).ok);
    return rarLastExtractStatus().failure;
}

// Marker, main header, then the first file header and its data.
constexpr size_t kFirstHeader = 7 + 13;

} // namespace

TEST_F(RarFailureTest, UnknownMethodNamesTheVersionAndSuccessClearsTheReason) {
    EXPECT_EQ(failureOf(rarTestData("v29/testfile.rar3.rar"), "testfile.txt"),
              RarFailure::UnknownMethod);
    EXPECT_EQ(rarLastExtractStatus().unpackVersion, 29);
    ASSERT_TRUE(extract(rarTestData("v20/test_v2.rar"), "p1.bin").ok);
    EXPECT_EQ(rarLastExtractStatus().failure, RarFailure::None);
}

TEST_F(RarFailureTest, DataCrcMismatchIsNotBlamedOnAPassword) {
    RarTestWriter writer;
    writer.addStored("data.txt", "the stored bytes of one entry");
    const size_t data = kFirstHeader + 32 + 8;
    const std::string spoilt = write("spoilt.rar", patched(writer.bytes(), data + 4, "#"));
    EXPECT_EQ(failureOf(spoilt, "data.txt"), RarFailure::DataCrc);
    EXPECT_EQ(failureOf(spoilt, "data.txt", "password"), RarFailure::DataCrc);
    // Packed data cut short is damage too.
    const std::string cut = write("cut.rar", writer.bytes().substr(0, data + 4));
    EXPECT_EQ(failureOf(cut, "data.txt", "password"), RarFailure::DamagedData);
}

TEST_F(RarFailureTest, HeaderCrcMismatchIsBlamedBeforeTheData) {
    RarTestWriter writer;
    writer.addStored("data.txt", "the stored bytes of one entry");
    // A broken header whose entry still checks out is read on, as it always was.
    const std::string timeOnly =
        write("time.rar", patched(writer.bytes(), kFirstHeader + 20, "\x01"));
    EXPECT_TRUE(extract(timeOnly, "data.txt").ok);
    EXPECT_NE(log().find("file header broken"), std::string::npos);
    // A broken header whose entry then fails is the cause to report.
    const std::string crcField =
        write("crc.rar", patched(writer.bytes(), kFirstHeader + 16, "\x01"));
    EXPECT_EQ(failureOf(crcField, "data.txt"), RarFailure::HeaderCrc);
    EXPECT_EQ(rarLastExtractStatus().volume, crcField);
    // A broken size derails the walk: the entry behind it is not found, and the broken header
    // is the reason.
    writer.addStored("later.txt", "behind the first entry");
    const std::string size = write("size.rar", patched(writer.bytes(), kFirstHeader + 7, "\x7f"));
    EXPECT_EQ(failureOf(size, "later.txt"), RarFailure::HeaderCrc);
}

TEST_F(RarFailureTest, HeaderCrcCoversTheWholeHeaderOrStopsBeforeAComment) {
    // Headers with extended times count everything; RAR 2.x leaves an embedded comment out.
    EXPECT_TRUE(extract(rarTestData("v20/test_read_format_rar_unicode.rar"),
                        "\x95\\\x82\xbe\x82\xe6\\\x8a\xbf\x8e\x9a\x92\xb7\x82\xa2\x83t\x83@\x83"
                        "C\x83\x8b\x96\xbclong-filename-in-\x8a\xbf\x8e\x9a.txt")
                    .ok);
    EXPECT_TRUE(extract(rarTestData("v20/rar202-comment-nopsw.rar"), "FILE2.TXT").ok);
    EXPECT_EQ(log().find("file header broken"), std::string::npos);
}

TEST_F(RarFailureTest, PasswordIsBlamedOnlyForEncryptedEntries) {
    const std::string archive = rarTestData("v20/rar202-comment-psw.rar");
    EXPECT_EQ(failureOf(archive, "FILE1.TXT"), RarFailure::NeedsPassword);
    EXPECT_EQ(failureOf(archive, "FILE1.TXT", "wrong"), RarFailure::WrongPassword);

    RarTestWriter writer;
    writer.addEncryptedStored("secret.txt", "stored and encrypted", "right");
    const std::string stored = write("stored.rar", writer.bytes());
    EXPECT_EQ(failureOf(stored, "secret.txt"), RarFailure::NeedsPassword);
    EXPECT_EQ(failureOf(stored, "secret.txt", "wrong"), RarFailure::WrongPassword);
}
