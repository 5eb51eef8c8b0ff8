#include "engine/resources/SamplerFilterHook.h"

namespace {
SamplerFilterApply g_apply = nullptr;
}

void setSamplerFilterApply(SamplerFilterApply apply) {
    g_apply = apply;
}

void applySamplerFilters(uint32_t stage) {
    if (g_apply != nullptr) {
        g_apply(stage);
    }
}
