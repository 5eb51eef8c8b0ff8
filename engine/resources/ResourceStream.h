#pragma once

#include "engine/resources/ResourceFile.h"

#include <cstdint>

// Sequential reader over one resource, used by the scene loader.
//
// A read that would run past the end of the data (or any read when nothing is open) copies
// nothing from the file: it fills the destination with zeros, leaves the position where it was,
// returns false and marks the stream as overrun. A loader can therefore read a whole record and
// check `overrun()` once, knowing no byte came from outside the buffer.
class ResourceStream {
public:
    bool open(const char* name);
    void close();

    void seek(uint32_t offset) { m_position = offset; }
    bool read(void* destination, uint32_t count);

    bool opened() const { return m_opened != 0; }
    bool overrun() const { return m_overrun; }
    uint32_t position() const { return m_position; }
    uint32_t size() const { return m_file.size(); }
    // Bytes left from the position to the end (0 when the position lies beyond it).
    uint32_t remaining() const;
    const uint8_t* data() const { return m_file.data(); }

private:
    ResourceFile m_file;
    uint32_t m_opened = 0;
    uint32_t m_position = 0;
    bool m_overrun = false;
};
