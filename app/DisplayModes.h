#pragma once

#include <cstdint>

// What the settings dialog needs of the display: the default adapter's modes for a colour
// depth, readable before any window or device exists.
class DisplayModes {
public:
    virtual ~DisplayModes() = default;
    virtual int32_t modeCount(int32_t bits) = 0;
    virtual int32_t modeWidth(int32_t bits, int32_t index) = 0;
    virtual int32_t modeHeight(int32_t bits, int32_t index) = 0;
    virtual int32_t modeRefreshRate(int32_t bits, int32_t index) = 0;
};

// The modes of any display object with those four operations (the program's Display).
template <class Source> class DisplayModesOf : public DisplayModes {
public:
    explicit DisplayModesOf(Source& source) : m_source(source) {}
    int32_t modeCount(int32_t bits) override { return m_source.modeCount(bits); }
    int32_t modeWidth(int32_t bits, int32_t index) override {
        return m_source.modeWidth(bits, index);
    }
    int32_t modeHeight(int32_t bits, int32_t index) override {
        return m_source.modeHeight(bits, index);
    }
    int32_t modeRefreshRate(int32_t bits, int32_t index) override {
        return m_source.modeRefreshRate(bits, index);
    }

private:
    Source& m_source;
};
