#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds small RAR 2.x archives in memory for cases the real test archives do not reach: any
// marker, header flags and sizes a test wants to lie about, sub-blocks, and volume sets.
class RarTestWriter {
public:
    // `mainFlags` joins the solid flag in the main header (volume flags, say).
    explicit RarTestWriter(bool solid = false, const std::string& marker = rarMarker(),
                           uint16_t mainFlags = 0);

    static std::string rarMarker() { return std::string("Rar!\x1a\x07\x00", 7); }

    // A stored entry. `unpackedSize` overrides the true size when a test wants a lie.
    void addStored(const std::string& name, const std::string& data, uint16_t flags = 0,
                   int64_t unpackedSize = -1);
    // A stored entry encrypted with the RAR 2.0 cipher, padded to whole cipher blocks.
    void addEncryptedStored(const std::string& name, const std::string& data, const char* password);
    // An entry compressed with the RAR 2.0 method (see Rar20TestEncoder.h).
    void addCompressed(const std::string& name, const std::string& data, int64_t unpackedSize = -1);
    // One part of an entry split across volumes: `packed` is this part's share of the packed
    // bytes of `data`. Split flags 0x01 (continued from the volume before) and 0x02 (goes on in
    // the next) say which part; one that goes on carries the CRC-32 of its own packed bytes,
    // the last one that of `data`.
    void addPart(const std::string& name, const std::string& packed, const std::string& data,
                 uint8_t method, uint16_t splitFlags);
    // A block of another type with `data` behind its header (LONG_BLOCK set, its data size
    // after the seven common bytes, then `headerTail`): an old sub-block, say.
    void addBlock(uint8_t type, const std::string& data, const std::string& headerTail = "");
    // A block of the seven common bytes only, as an end-of-archive block is.
    void addShortBlock(uint8_t type, uint16_t flags);

    const std::string& bytes() const { return m_bytes; }

private:
    void addEntry(const std::string& name, const std::string& packed, uint64_t unpackedSize,
                  uint32_t crc, uint8_t method, uint16_t flags);
    void addHeader(const std::string& header);

    std::string m_bytes;
};

// Volumes of a set, written one after the other; entries may be cut across them.
class RarVolumeSetWriter {
public:
    static constexpr uint16_t kVolume = 0x01;
    static constexpr uint16_t kNewNumbering = 0x10;
    static constexpr uint16_t kFirstVolume = 0x100;

    // `mainFlags` goes into every volume's main header with kVolume; the first volume also
    // gets kFirstVolume.
    explicit RarVolumeSetWriter(uint16_t mainFlags = 0, bool solid = false);

    // The volume being written, for whole entries and other blocks.
    RarTestWriter& volume() { return m_volumes.back(); }
    void startVolume();
    // An entry whose packed bytes are cut at `cuts` (offsets into the packed bytes, in order):
    // the first piece goes into the current volume, each further piece starts a new one.
    void addSplitStored(const std::string& name, const std::string& data,
                        const std::vector<size_t>& cuts);
    void addSplitCompressed(const std::string& name, const std::string& data,
                            const std::vector<size_t>& cuts);

    std::vector<std::string> volumes() const;

private:
    void addSplit(const std::string& name, const std::string& packed, const std::string& data,
                  uint8_t method, const std::vector<size_t>& cuts);

    uint16_t m_mainFlags = 0;
    bool m_solid = false;
    std::vector<RarTestWriter> m_volumes;
};

uint32_t crc32Of(const std::string& bytes);
