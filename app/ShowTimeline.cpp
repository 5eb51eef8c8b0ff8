#include "app/MessagePump.h"
#include "app/ProgramObjects.h"
#include "app/ShowTypes.h"

#include <windows.h>

namespace {

// The live show's surroundings: the thread's message queue, the display and the
// high-resolution counter.
class ProgramFrameHost : public FrameHost {
public:
    bool pumpMessage() override { return ::pumpMessage(); }
    void present() override { display.present(); }
    bool queryFrequency(int64_t& ticksPerSecond) override {
        LARGE_INTEGER frequency{};
        bool ok = QueryPerformanceFrequency(&frequency) != FALSE;
        ticksPerSecond = frequency.QuadPart;
        return ok;
    }
    bool queryCounter(int64_t& ticks) override {
        LARGE_INTEGER counter{};
        bool ok = QueryPerformanceCounter(&counter) != FALSE;
        ticks = counter.QuadPart;
        return ok;
    }
};

} // namespace

void configureEngine(RenderEngine& engine) {
    engine.backgroundColour = Vec4(0.0f, 0.0f, 0.0f, 1.0f);
    engine.ambientColour = Vec4(0.2f, 0.2f, 0.2f, 1.0f);
    engine.glowEnabled = true;
    engine.blurAmount = 0.012f;
    engine.glowColour = Vec4(1.0f, 1.0f, 1.0f, 1.0f);
}

void runTimeline(RenderEngine& engine) {
    ProgramFrameHost host;
    Timeline timeline(engine, scene, textureCache, host);
    timeline.run();
}
