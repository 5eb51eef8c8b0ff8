#include "engine/resources/ProgramDevice.h"

namespace {
IDirect3DDevice9* g_device = nullptr;
}

IDirect3DDevice9* programDevice() {
    return g_device;
}

void setProgramDevice(IDirect3DDevice9* device) {
    g_device = device;
}
