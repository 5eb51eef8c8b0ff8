// A program written for Windows and Direct3D 9, built against the installed stand-ins: opens a
// window, makes a device, clears, reads a pixel back and reports it.

#include <d3d9.h>
#include <windows.h>

#include <cstdio>

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "Consumer";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "Consumer", "consumer", WS_OVERLAPPEDWINDOW, 0, 0, 32, 32,
                                  NULL, NULL, instance, NULL);
    LPDIRECT3D9 d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!window || !d3d) {
        return 2;
    }
    D3DPRESENT_PARAMETERS pp;
    ZeroMemory(&pp, sizeof(pp));
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    LPDIRECT3DDEVICE9 device = NULL;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device))) {
        return 3;
    }
    device->Clear(0, NULL, D3DCLEAR_TARGET, D3DCOLOR_XRGB(12, 34, 56), 1.0f, 0);
    LPDIRECT3DSURFACE9 back = NULL;
    LPDIRECT3DSURFACE9 copy = NULL;
    device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    device->CreateOffscreenPlainSurface(32, 32, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, NULL);
    device->GetRenderTargetData(back, copy);
    D3DLOCKED_RECT locked;
    copy->LockRect(&locked, NULL, D3DLOCK_READONLY);
    DWORD pixel = *static_cast<DWORD*>(locked.pBits) & 0xFFFFFF;
    copy->UnlockRect();
    device->Present(NULL, NULL, NULL, NULL);
    copy->Release();
    back->Release();
    device->Release();
    d3d->Release();
    DestroyWindow(window);
    std::printf("pixel %06x\n", static_cast<unsigned>(pixel));
    return pixel == 0x0C2238 ? 0 : 1;
}
