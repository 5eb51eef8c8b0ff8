// Depth bias: D3DRS_DEPTHBIAS is a fraction of the depth range, so on a 16-bit buffer one step
// is 2^-16 and on a 24-bit one 2^-24; D3DRS_SLOPESCALEDEPTHBIAS multiplies the primitive's
// depth slope. A second quad drawn behind (or at) the first with LESS passes only where the bias
// brings it in front.

#include "D3d9TestDevice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace tarnelix::test;

namespace {

class DepthBias : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(t.ok());
        d = t.device;
        t.startScreenDrawing();
        d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    }

    // A red quad at depth z0 (left) to z1 (right), then a green one at z0 + behind, z1 + behind
    // with the bias: whether green won at the centre.
    bool secondWins(float z0, float z1, float behind, float bias, float slope) {
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        d->SetRenderState(D3DRS_DEPTHBIAS, 0);
        d->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, 0);
        draw(z0, z1, 0xFFFF0000);
        d->SetRenderState(D3DRS_DEPTHBIAS, floatState(bias));
        d->SetRenderState(D3DRS_SLOPESCALEDEPTHBIAS, floatState(slope));
        draw(z0 + behind, z1 + behind, 0xFF00FF00);
        return t.pixel(4, 4).g == 255;
    }

    void draw(float z0, float z1, D3DCOLOR colour) {
        ScreenVertex quad[4] = {{0, 0, z0, 1, colour, 0, 0},
                                {8, 0, z1, 1, colour, 0, 0},
                                {0, 8, z0, 1, colour, 0, 0},
                                {8, 8, z1, 1, colour, 0, 0}};
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    }

    TestDevice t{8, 8};
    IDirect3DDevice9* d = nullptr;
};

struct BiasCase {
    const char* name;
    float behind; // in steps of the buffer
    float bias;   // in steps of the buffer
    bool wins;
};

const BiasCase kConstantCases[] = {
    {"no bias: the z-fight goes to the first", 0, 0, false},
    {"a bias of 4 steps resolves the z-fight", 0, -4, true},
    {"16 steps behind, 32 of bias: in front", 16, -32, true},
    {"16 steps behind, 4 of bias: still behind", 16, -4, false},
};

} // namespace

TEST_F(DepthBias, ConstantBiasInStepsOfA24BitBuffer) {
    // proves: D3DPRASTERCAPS_DEPTHBIAS
    D3DCAPS9 caps{};
    ASSERT_EQ(d->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_TRUE(caps.RasterCaps & D3DPRASTERCAPS_DEPTHBIAS);
    const float step = std::ldexp(1.0f, -24);
    for (const BiasCase& c : kConstantCases) {
        EXPECT_EQ(secondWins(0.5f, 0.5f, c.behind * step, c.bias * step, 0), c.wins) << c.name;
    }
}

TEST_F(DepthBias, ConstantBiasInStepsOfA16BitBuffer) {
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(d->CreateDepthStencilSurface(8, 8, D3DFMT_D16, D3DMULTISAMPLE_NONE, 0, FALSE, &depth,
                                           nullptr),
              D3D_OK);
    d->SetDepthStencilSurface(depth);
    // A bias counted in 24-bit steps would bring the second quad far in front in every row.
    const float step = std::ldexp(1.0f, -16);
    for (const BiasCase& c : kConstantCases) {
        EXPECT_EQ(secondWins(0.5f, 0.5f, c.behind * step, c.bias * step, 0), c.wins) << c.name;
    }
    depth->Release();
}

TEST_F(DepthBias, SlopeScaledBiasFollowsTheDepthSlope) {
    // proves: D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS
    D3DCAPS9 caps{};
    ASSERT_EQ(d->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_TRUE(caps.RasterCaps & D3DPRASTERCAPS_SLOPESCALEDEPTHBIAS);
    // Depth rises 0.4 over 8 pixels: 0.05 a pixel. The second quad is 0.02 behind.
    EXPECT_FALSE(secondWins(0.3f, 0.7f, 0.02f, 0, 0));
    EXPECT_TRUE(secondWins(0.3f, 0.7f, 0.02f, 0, -1.0f));  // 0.05 in front of where it was
    EXPECT_FALSE(secondWins(0.3f, 0.7f, 0.02f, 0, -0.2f)); // 0.01: not enough
    EXPECT_FALSE(secondWins(0.3f, 0.7f, 0.0f, 0, 1.0f));   // pushed further away
}
