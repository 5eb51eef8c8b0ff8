#pragma once

#include "engine/rar/RarArchive.h"
#include "engine/rar/RarBitInput.h"
#include "engine/rar/RarCipher.h"
#include "engine/rar/RarCrc.h"
#include "engine/rar/RarDebugLog.h"
#include "engine/rar/RarHeaders.h"
#include "engine/rar/RarLzDecoder.h"
#include "engine/rar/RarPackedInput.h"
#include "engine/rar/RarVolumeWalker.h"

#include <cstdint>

namespace rar {

// Everything the reader keeps, in one program-wide place: one extraction runs at a time.
// The debug log and the last outcome outlive extractions; everything else is work state,
// cleared by releaseWork() on every way out of an extraction.
struct RarState {
    DebugLog log;
    Crc32 crc;

    char entryName[kMaxNameLength + 1] = {};
    char archiveName[256] = {};
    char password[256] = {};
    bool hasPassword = false;

    VolumeWalker archive;
    EntryParts parts; // of the entry being decoded or stepped over
    uint8_t* window = nullptr;
    BitInput input;
    PackedInput packed;
    Rar20Decoder decoder;
    Rar20Cipher cipher;
    static constexpr size_t kStoredChunk = 0x10000;
    uint8_t storedChunk[kStoredChunk + Rar20Cipher::kBlockSize] = {};

    uint8_t* output = nullptr;
    uint32_t outputCapacity = 0;
    uint32_t* callerSize = nullptr;
    bool found = false;
    RarExtractStatus status;

    // Notes why the extraction fails; returns false for the caller to pass on.
    bool fail(RarFailure failure, const std::string& volume = std::string()) {
        status.failure = failure;
        status.volume = volume;
        return false;
    }

    // Closes the archive and releases the window, the password and the cipher keys. The
    // output block is left to the caller of this function.
    void releaseWork();
};

RarState& rarState();

} // namespace rar
