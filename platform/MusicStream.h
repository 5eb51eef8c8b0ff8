#pragma once

#include <cstdint>

struct FSOUND_STREAM;

// One streamed music file: open, play, close. A stream that failed to open is passed on all
// the same; the library refuses it quietly and nothing plays.
class MusicStream {
public:
    MusicStream() = default;
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    void open(const char* fileName, bool loop);
    void play();
    // For a player that pauses and seeks the show; a stream that did not open ignores both.
    void setPaused(bool paused);
    void seek(double seconds);
    // Closes the stream. The handle is kept for inspection, but a second close does nothing
    // rather than hand the library a stream it has already freed.
    void close();

    FSOUND_STREAM* stream() const { return m_stream; }
    int32_t channel() const { return m_channel; }

private:
    FSOUND_STREAM* m_stream = nullptr;
    int32_t m_channel = 0;
    bool m_closed = false;
};
