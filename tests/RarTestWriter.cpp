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

RarTestWriter::RarTestWriter(bool solid, const std::string& marker) : m_bytes(marker) {
    std::string header;
    header += static_cast<char>(0x73);
    put16(header, solid ? 0x08 : 0x00);
    put16(header, 13);
    put16(header, 0);
    put32(header, 0);
    const uint32_t crc = crc32Of(header) & 0xFFFF;
    put16(m_bytes, crc);
    m_bytes += header;
}

void RarTestWriter::addStored(const std::string& name, const std::string& data, uint16_t flags,
                              int64_t unpackedSize) {
    addEntry(name, data, data, 0x30, flags, unpackedSize);
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
    addEntry(name, packed, data, 0x30, 0x04, -1);
}

void RarTestWriter::addCompressed(const std::string& name, const std::string& data,
                                  int64_t unpackedSize) {
    addEntry(name, encodeRar20(data), data, 0x33, 0, unpackedSize);
}

void RarTestWriter::addEntry(const std::string& name, const std::string& packed,
                             const std::string& data, uint8_t method, uint16_t flags,
                             int64_t unpackedSize) {
    std::string header;
    header += static_cast<char>(0x74);
    put16(header, flags | 0x8000);
    put16(header, static_cast<uint32_t>(32 + name.size()));
    put32(header, static_cast<uint32_t>(packed.size()));
    put32(header, static_cast<uint32_t>(unpackedSize < 0 ? data.size() : unpackedSize));
    header += static_cast<char>(3); // host: Unix
    put32(header, crc32Of(data));
    put32(header, 0);                // file time
    header += static_cast<char>(20); // unpack version
    header += static_cast<char>(method);
    put16(header, static_cast<uint32_t>(name.size()));
    put32(header, 0);
    header += name;
    put16(m_bytes, crc32Of(header) & 0xFFFF);
    m_bytes += header;
    m_bytes += packed;
}

void RarTestWriter::addBlock(uint8_t type, const std::string& data) {
    std::string header;
    header += static_cast<char>(type);
    put16(header, 0x8000);
    put16(header, 11);
    put32(header, static_cast<uint32_t>(data.size()));
    put16(m_bytes, crc32Of(header) & 0xFFFF);
    m_bytes += header;
    m_bytes += data;
}
