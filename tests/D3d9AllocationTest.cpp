// Drawing with states whose programs are already generated allocates nothing in the device:
// keys are built in place and found in the caches without allocating.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace tarnelix::test;

TEST(D3d9Allocation, CachedFixedFunctionProgramsAreFoundWithoutAllocating) {
    TestDevice t(8, 8);
    ASSERT_TRUE(t.ok());
    IDirect3DTexture9* texture = t.texture(1, 1, {0xFFFFFFFF});
    t.device->SetRenderState(D3DRS_LIGHTING, FALSE);
    t.device->SetFVF(kScreenFvf);
    ScreenVertex quad[6];
    screenQuad(quad, 0, 0, 4, 4, 0.5f, 0xFFFFFFFF);
    auto drawBoth = [&] {
        t.device->SetTexture(0, texture);
        t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
        t.device->SetTexture(0, nullptr);
        t.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        t.device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        t.device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof(ScreenVertex));
    };
    drawBoth(); // generates both programs
    long before = g_allocations.load();
    for (int i = 0; i < 100; ++i) {
        drawBoth();
    }
    EXPECT_EQ(g_allocations.load() - before, 0);
    texture->Release();
}
