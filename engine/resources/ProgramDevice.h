#pragma once

struct IDirect3DDevice9;

// The one Direct3D device of the program, which textures and shader programs create their
// objects on and bind to. The entry point sets it to the display's device once that exists;
// tests and tools set it to theirs. Null until set: loading and binding then do nothing.
IDirect3DDevice9* programDevice();
void setProgramDevice(IDirect3DDevice9* device);
