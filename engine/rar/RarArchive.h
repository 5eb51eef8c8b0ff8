#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Extracts the entry `entryName` of the RAR archive `archiveName` into a block from the C heap
// (release it with free) of exactly the entry's unpacked size. `password` may be null. Returns
// non-zero on success; on failure `*output` is null and `*size` is 0.
int extractFromArchive(uint8_t** output, uint32_t* size, const char* entryName,
                       const char* archiveName, const char* password);

// Why the last call of extractFromArchive failed.
enum class RarFailure {
    None,                  // it succeeded
    BadArguments,          // a name missing, or a name or the password too long
    CannotOpen,            // the archive file cannot be opened
    NotAnArchive,          // not a RAR 2.x archive, or a self-extracting or older one
    NoSuchEntry,           // the walk through the archive (and its volumes) did not find it
    HeaderCrc,             // a file header fails its CRC, and the extraction failed after it
    DamagedHeader,         // a header cut short or holding impossible sizes
    UnknownMethod,         // an unpack version other than 13 to 20
    DamagedData,           // packed data cut short or not decodable
    DataCrc,               // the unpacked data, or one volume's packed part, fails its CRC-32
    NeedsPassword,         // an encrypted entry, and no password given
    WrongPassword,         // an encrypted entry that fails with the password given
    VolumeMissing,         // the entry continues in a volume that is not there
    StartsInEarlierVolume, // the entry begins in a volume before the one named
    OutOfMemory,
};

struct RarExtractStatus {
    RarFailure failure = RarFailure::None;
    // The volume concerned, in full: the missing one, the one whose header or packed part is
    // damaged; empty where no single volume is to blame.
    std::string volume;
    uint8_t unpackVersion = 0; // the entry's, with UnknownMethod
};

// The outcome of the last call of extractFromArchive, kept until the next one.
const RarExtractStatus& rarLastExtractStatus();

// One file entry of an archive as its header describes it.
struct RarEntryInfo {
    std::string name; // as stored, backslashes and all, cut at the first zero byte
    uint32_t packedSize = 0;
    uint32_t unpackedSize = 0;
    uint32_t crc32 = 0;
    uint8_t unpackVersion = 0;
    uint8_t method = 0;
    uint16_t flags = 0;
};

// Lists every file entry of an archive, and of the volumes that follow it when it is one of a
// set. An entry split across volumes is listed once, with the sum of its parts' packed sizes
// and the CRC-32 of its last part's header (the whole entry's); its flags keep 0x01 when it
// began before the first volume listed and 0x02 when it goes on past the last. Returns false,
// with `error` set, when the file is not a readable RAR archive, a header is damaged or a
// volume is missing; the entries read until then are kept.
bool listRarArchive(const char* archiveName, std::vector<RarEntryInfo>& entries,
                    std::string& error);

// True when an asked-for entry name selects a stored one: slashes and backslashes are alike,
// and so are upper and lower case letters a to z.
bool rarEntryNamesMatch(const char* wanted, const char* stored);
