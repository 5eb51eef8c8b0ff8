#pragma once

#include <cstdint>

// What a texture binding does after setting the texture: hands the program-wide sampler filter
// settings to the device when they changed. The platform layer installs the settings' apply;
// until it does (tools, tests), binding leaves the filters alone.
using SamplerFilterApply = void (*)(uint32_t stage);
void setSamplerFilterApply(SamplerFilterApply apply);
void applySamplerFilters(uint32_t stage);
