#include "RarTestWriter.h"

#include "Rar20TestEncoder.h"

#include "engine/rar/RarCipher.h"

namespace {

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

uint32_t crc32Of(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return ~crc;
}

RarTestWriter::RarTestWriter(bool solid, const std::string& marker, uint16_t mainFlags)
    : m_bytes(marker) {
    std::string header;
    header += static_cast<char>(0x73);
    put16(header, mainFlags | (solid ? 0x08 : 0x00));
    put16(header, 13);
    put16(header, 0);
    put32(header, 0);
    addHeader(header);
}

void RarTestWriter::addHeader(const std::string& header) {
    put16(m_bytes, crc32Of(header) & 0xFFFF);
    m_bytes += header;
}

void RarTestWriter::addStored(const std::string& name, const std::string& data, uint16_t flags,
                              int64_t unpackedSize) {
    addEntry(name, data, unpackedSize < 0 ? data.size() : unpackedSize, crc32Of(data), 0x30, flags);
}

void RarTestWriter::addEncryptedStored(const std::string& name, const std::string& data,
                                       const char* password) {
    rar::Crc32 crc;
    crc.buildTable();
    rar::Rar20Cipher cipher;
    cipher.setKey(password, crc);
    const size_t block = rar::Rar20Cipher::kBlockSize;
    std::string packed = data;
    packed.resize((data.size() + block - 1) / block * block, '\0');
    for (size_t offset = 0; offset < packed.size(); offset += block) {
        cipher.encryptBlock(reinterpret_cast<uint8_t*>(&packed[offset]));
    }
    addEntry(name, packed, data.size(), crc32Of(data), 0x30, 0x04);
}

void RarTestWriter::addCompressed(const std::string& name, const std::string& data,
                                  int64_t unpackedSize) {
    addEntry(name, encodeRar20(data), unpackedSize < 0 ? data.size() : unpackedSize, crc32Of(data),
             0x33, 0);
}

void RarTestWriter::addPart(const std::string& name, const std::string& packed,
                            const std::string& data, uint8_t method, uint16_t splitFlags) {
    // Only the last part's header holds the CRC-32 of the whole entry.
    const uint32_t crc = (splitFlags & 0x02) != 0 ? crc32Of(packed) : crc32Of(data);
    addEntry(name, packed, data.size(), crc, method, splitFlags);
}

void RarTestWriter::addEntry(const std::string& name, const std::string& packed,
                             uint64_t unpackedSize, uint32_t crc, uint8_t method, uint16_t flags) {
    std::string header;
    header += static_cast<char>(0x74);
    put16(header, flags | 0x8000);
    put16(header, static_cast<uint32_t>(32 + name.size()));
    put32(header, static_cast<uint32_t>(packed.size()));
    put32(header, static_cast<uint32_t>(unpackedSize));
    header += static_cast<char>(3); // host: Unix
    put32(header, crc);
    put32(header, 0);                // file time
    header += static_cast<char>(20); // unpack version
    header += static_cast<char>(method);
    put16(header, static_cast<uint32_t>(name.size()));
    put32(header, 0);
    header += name;
    addHeader(header);
    m_bytes += packed;
}

void RarTestWriter::addBlock(uint8_t type, const std::string& data, const std::string& headerTail) {
    std::string header;
    header += static_cast<char>(type);
    put16(header, 0x8000);
    put16(header, static_cast<uint32_t>(11 + headerTail.size()));
    put32(header, static_cast<uint32_t>(data.size()));
    header += headerTail;
    addHeader(header);
    m_bytes += data;
}

void RarTestWriter::addShortBlock(uint8_t type, uint16_t flags) {
    std::string header;
    header += static_cast<char>(type);
    put16(header, flags);
    put16(header, 7);
    addHeader(header);
}

RarVolumeSetWriter::RarVolumeSetWriter(uint16_t mainFlags, bool solid)
    : m_mainFlags(mainFlags | kVolume), m_solid(solid) {
    m_volumes.emplace_back(solid, RarTestWriter::rarMarker(), m_mainFlags | kFirstVolume);
}

void RarVolumeSetWriter::startVolume() {
    m_volumes.emplace_back(m_solid, RarTestWriter::rarMarker(), m_mainFlags);
}

void RarVolumeSetWriter::addSplitStored(const std::string& name, const std::string& data,
                                        const std::vector<size_t>& cuts) {
    addSplit(name, data, data, 0x30, cuts);
}

void RarVolumeSetWriter::addSplitCompressed(const std::string& name, const std::string& data,
                                            const std::vector<size_t>& cuts) {
    addSplit(name, encodeRar20(data), data, 0x33, cuts);
}

void RarVolumeSetWriter::addSplit(const std::string& name, const std::string& packed,
                                  const std::string& data, uint8_t method,
                                  const std::vector<size_t>& cuts) {
    size_t from = 0;
    for (size_t i = 0; i <= cuts.size(); ++i) {
        const size_t to = i < cuts.size() ? cuts[i] : packed.size();
        if (i > 0) {
            startVolume();
        }
        const uint16_t flags = (i > 0 ? 0x01 : 0) | (i < cuts.size() ? 0x02 : 0);
        volume().addPart(name, packed.substr(from, to - from), data, method, flags);
        from = to;
    }
}

std::vector<std::string> RarVolumeSetWriter::volumes() const {
    std::vector<std::string> bytes;
    for (const RarTestWriter& volume : m_volumes) {
        bytes.push_back(volume.bytes());
    }
    return bytes;
}
