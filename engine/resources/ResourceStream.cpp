#include "engine/resources/ResourceStream.h"

#include <cstring>

bool ResourceStream::open(const char* name) {
    if (m_file.open(name)) {
        m_opened = 1;
        m_overrun = false;
    }
    return m_opened != 0;
}

void ResourceStream::close() {
    m_file.close();
    m_opened = 0;
}

uint32_t ResourceStream::remaining() const {
    const uint32_t size = m_file.size();
    return m_position < size ? size - m_position : 0;
}

bool ResourceStream::read(void* destination, uint32_t count) {
    if (count == 0) {
        return true;
    }
    if (m_file.data() == nullptr || count > remaining()) {
        std::memset(destination, 0, count);
        m_overrun = true;
        return false;
    }
    std::memcpy(destination, m_file.data() + m_position, count);
    m_position += count;
    return true;
}
