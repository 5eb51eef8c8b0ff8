#pragma once

#include <cstdint>
#include <string>

// Builds small RAR 2.x archives in memory for cases the real test archives do not reach:
// stored entries only, with any marker, header flags and sizes a test wants to lie about.
class RarTestWriter {
public:
    explicit RarTestWriter(bool solid = false, const std::string& marker = rarMarker());

    static std::string rarMarker() { return std::string("Rar!\x1a\x07\x00", 7); }

    // A stored entry. `unpackedSize` overrides the true size when a test wants a lie.
    void addStored(const std::string& name, const std::string& data, uint16_t flags = 0,
                   int64_t unpackedSize = -1);
    // A stored entry encrypted with the RAR 2.0 cipher, padded to whole cipher blocks.
    void addEncryptedStored(const std::string& name, const std::string& data, const char* password);
    // An entry compressed with the RAR 2.0 method (see Rar20TestEncoder.h).
    void addCompressed(const std::string& name, const std::string& data, int64_t unpackedSize = -1);
    // A block of another type (a sub-block, say) with `data` behind its 7-byte header.
    void addBlock(uint8_t type, const std::string& data);

    const std::string& bytes() const { return m_bytes; }

private:
    void addEntry(const std::string& name, const std::string& packed, const std::string& data,
                  uint8_t method, uint16_t flags, int64_t unpackedSize);

    std::string m_bytes;
};

uint32_t crc32Of(const std::string& bytes);
