#pragma once

#include <cstddef>
#include <cstdint>

// What each fuzz target does with one input, shared by the libFuzzer targets and by the test
// that replays the corpus in tests/data/fuzz, so that an input which once crashed stays covered
// by every test run. Each returns null when the code under test kept its promises, else the
// promise it broke (success without a result, failure without a reason, a half-loaded scene).
// Memory errors are left to the sanitizers.

// The bytes as a 3DF file, loaded onto a device in memory and, when accepted, played for a few
// frames.
const char* loadSceneBytes(const uint8_t* data, size_t size);

// The bytes as an image file, made into a texture the way the show makes its textures.
const char* decodeTextureBytes(const uint8_t* data, size_t size);

// The bytes as HLSL source, compiled as a vertex and as a pixel program.
const char* compileHlslText(const uint8_t* data, size_t size);

// The bytes as a glTF file (text or binary) whose lights and shared nodes scene-import reads
// itself.
const char* readGltfExtrasBytes(const uint8_t* data, size_t size);

// The bytes as a show file, read into a show script.
const char* readShowFileText(const uint8_t* data, size_t size);
