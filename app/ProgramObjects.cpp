#include "app/ProgramObjects.h"

#include "app/FaultReport.h"
#include "app/ShowTypes.h"

#include "engine/resources/ProgramDevice.h"
#include "engine/resources/SamplerFilterHook.h"

// One translation unit, so that they are made in this order and go in the reverse one. The
// display comes first so that it goes last: the scene's meshes and the cache's textures are the
// device's objects and must be given back while the device still exists.
Display display;
SamplerFilterSettings samplerFilterSettings;
TextureCache textureCache;
Scene scene;

void connectProgramDevice() {
    setProgramDevice(display.device);
    setSamplerFilterApply(
        [](uint32_t stage) { samplerFilterSettings.apply(display.device, stage); });
}

void startEngine(RenderEngine& engine, const char* program) {
    connectProgramDevice();
    reportTextureFailures(textureCache, program);
    engine.init(display.device, display.width, display.height);
    configureEngine(engine);
    samplerFilterSettings.set(D3DTEXF_LINEAR, D3DTEXF_LINEAR, D3DTEXF_LINEAR, 0);
}
