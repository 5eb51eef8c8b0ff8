// The display and the sampler filter settings on the stand-ins, headless.

#include "platform/Display.h"
#include "platform/SamplerFilterSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_failure;

void recordFailure(const char* reason) {
    g_failure = reason;
}

void drainMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

bool quitQueued() {
    MSG msg;
    bool quit = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        quit = quit || msg.message == WM_QUIT;
    }
    return quit;
}

} // namespace

TEST(Display, WindowedModeNeitherWaitsForTheVsyncNorSetsARefreshRate) {
    const D3DPRESENT_PARAMETERS windowed = Display::presentParameters(800, 600, false, 16, 75, 8);
    EXPECT_TRUE(windowed.Windowed);
    EXPECT_EQ(windowed.BackBufferWidth + windowed.BackBufferCount, 0u);
    EXPECT_EQ(windowed.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(windowed.PresentationInterval, static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
    EXPECT_EQ(windowed.MultiSampleType, D3DMULTISAMPLE_NONE);
    const D3DPRESENT_PARAMETERS full = Display::presentParameters(1024, 768, true, 32, 60, 4);
    EXPECT_EQ(full.FullScreen_RefreshRateInHz, 60u);
    EXPECT_EQ(full.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
}

TEST(Display, ModesAreListedBeforeAnyWindowExists) {
    Display display;
    ASSERT_NE(display.direct3d, nullptr);
    int32_t count = display.modeCount(32);
    ASSERT_GT(count, 0);
    EXPECT_EQ(display.modeCount(16), count);
    EXPECT_GT(display.modeWidth(32, 0), 0);
    EXPECT_GT(display.modeHeight(32, 0), 0);
    EXPECT_GT(display.modeRefreshRate(32, 0), 0);
    EXPECT_EQ(display.modeWidth(32, count), 0); // past the end: nothing
}

TEST(Display, WindowProcedureQuitsOnEscapeAndCloseOnly) {
    drainMessages();
    Display::windowProcedure(nullptr, WM_KEYDOWN, 'A', 0);
    Display::windowProcedure(nullptr, WM_CHAR, 0x1B, 0);
    EXPECT_FALSE(quitQueued());
    EXPECT_EQ(Display::windowProcedure(nullptr, WM_KEYDOWN, VK_ESCAPE, 0), 0);
    EXPECT_TRUE(quitQueued());
    EXPECT_EQ(Display::windowProcedure(nullptr, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(quitQueued());
}

TEST(Display, CreatesTheWindowAndDeviceInAWindowedModeAndReleasesThem) {
    Display display;
    ASSERT_TRUE(display.create(64, 48, false, 32, 60, 0));
    ASSERT_NE(display.device, nullptr);
    IDirect3DSurface9* back = nullptr;
    display.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    back->Release();
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    display.present();
    // 16 bits resets into R5G6B5.
    ASSERT_TRUE(display.setMode(32, 32, false, 16, 0, 0));
    display.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    back->GetDesc(&desc);
    back->Release();
    EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(display.bits, 16);
    display.releaseAll();
    EXPECT_EQ(display.device, nullptr);
    EXPECT_EQ(display.direct3d, nullptr);
    EXPECT_EQ(display.window, nullptr);
    drainMessages();
}

TEST(Display, AHiddenDisplayDrawsIntoABackBufferOfTheModesSize) {
    Display display;
    display.shown = false;
    ASSERT_TRUE(display.create(80, 60, false, 32, 60, 0));
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(display.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 80u);
    EXPECT_EQ(desc.Height, 60u);
    // What a capture does with it: clear, then read the pixels back.
    display.device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(10, 200, 30), 1.0f, 0);
    IDirect3DSurface9* copy = nullptr;
    ASSERT_EQ(display.device->CreateOffscreenPlainSurface(80, 60, D3DFMT_X8R8G8B8,
                                                          D3DPOOL_SYSTEMMEM, &copy, nullptr),
              D3D_OK);
    EXPECT_EQ(display.device->GetRenderTargetData(back, copy), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* pixel = static_cast<const uint8_t*>(locked.pBits);
    EXPECT_EQ(pixel[0], 30);
    EXPECT_EQ(pixel[1], 200);
    EXPECT_EQ(pixel[2], 10);
    copy->UnlockRect();
    copy->Release();
    back->Release();
    display.releaseAll();
    drainMessages();
}

TEST(Display, AFailedResetKeepsTheOldModeFields) {
    Display display;
    ASSERT_TRUE(display.create(32, 32, false, 32, 0, 0));
    // Multisampling is refused by the device: the reset fails.
    EXPECT_FALSE(display.setMode(48, 48, false, 32, 0, 4));
    EXPECT_EQ(display.width, 32);
    EXPECT_EQ(display.samples, 0);
    drainMessages();
}

TEST(Display, AMissingDirect3DObjectIsReportedAndCreateFails) {
    Display::setFailureHandler(recordFailure);
    Display display;
    display.direct3d->Release();
    display.direct3d = nullptr;
    g_failure.clear();
    EXPECT_FALSE(display.create(32, 32, false, 32, 0, 0));
    EXPECT_NE(g_failure.find("Direct3D"), std::string::npos);
    EXPECT_NE(display.window, nullptr); // the window stays open, as the steps before it ran
    Display::setFailureHandler(nullptr);
    drainMessages();
}

TEST(DisplayDeathTest, AFailedDeviceEndsTheProgramWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Display display;
            display.direct3d->Release();
            display.direct3d = nullptr;
            display.create(32, 32, false, 32, 0, 0);
        },
        ::testing::ExitedWithCode(1), "tarnelix: Direct3D 9 is not available");
}

TEST(SamplerFilterSettings, AppliesOncePerChangeToEverySampler) {
    Display display;
    ASSERT_TRUE(display.create(16, 16, false, 32, 0, 0));
    IDirect3DDevice9* device = display.device;
    SamplerFilterSettings settings;
    EXPECT_FALSE(settings.applied);
    settings.apply(device, 3);
    EXPECT_TRUE(settings.applied);
    DWORD value = 0;
    device->GetSamplerState(7, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_LINEAR));
    device->GetSamplerState(7, D3DSAMP_MIPFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT));
    device->GetSamplerState(8, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT)); // beyond samplerCount: untouched
    // A second apply does nothing until the next set.
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    settings.apply(device, 0);
    device->GetSamplerState(0, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT));
    settings.set(D3DTEXF_LINEAR, D3DTEXF_ANISOTROPIC, D3DTEXF_LINEAR, 0);
    EXPECT_FALSE(settings.applied);
    settings.apply(device, 0);
    device->GetSamplerState(0, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_LINEAR));
    device->GetSamplerState(5, D3DSAMP_MAXANISOTROPY, &value);
    EXPECT_EQ(value, 0u);
    drainMessages();
}
