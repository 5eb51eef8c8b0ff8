#include "platform/MusicStream.h"

#include <fmod.h>

void MusicStream::open(const char* fileName, bool loop) {
    m_stream = FSOUND_Stream_Open(fileName, loop ? FSOUND_LOOP_NORMAL : 0, 0, 0);
    m_closed = false;
}

void MusicStream::play() {
    m_channel = FSOUND_Stream_Play(FSOUND_FREE, m_stream);
}

void MusicStream::setPaused(bool paused) {
    if (m_stream != nullptr && !m_closed) {
        FSOUND_SetPaused(m_channel, paused ? 1 : 0);
    }
}

void MusicStream::seek(double seconds) {
    if (m_stream != nullptr && !m_closed) {
        FSOUND_Stream_SetTime(m_stream, static_cast<int>(seconds * 1000.0 + 0.5));
    }
}

void MusicStream::close() {
    if (!m_closed) {
        FSOUND_Stream_Close(m_stream);
        m_closed = true;
    }
}
