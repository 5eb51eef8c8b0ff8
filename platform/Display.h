#pragma once

#include <d3d9.h>
#include <windows.h>

#include <cstdint>

// The program-wide display: the Direct3D object, the main window, the device and the mode in
// force. The Direct3D object exists from construction; everything is released by releaseAll,
// which the destructor runs at process end.
class Display {
public:
    // Called when the window or the device cannot be made; the default prints the reason on
    // stderr and ends the program with exit code 1, as nothing after it could draw. Tests
    // install one that returns, and create then returns false.
    using FailureHandler = void (*)(const char* reason);
    static void setFailureHandler(FailureHandler handler);
    // The name the default failure handler says its line under (default "tarnelix").
    static void setProgramName(const char* name);

    Display();
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // The display modes of the default adapter in the format for `bits`.
    int32_t modeCount(int32_t bits);
    int32_t modeWidth(int32_t bits, int32_t index);
    int32_t modeHeight(int32_t bits, int32_t index);
    int32_t modeRefreshRate(int32_t bits, int32_t index);

    // Registers the class, opens the window, makes the device and switches to the mode; true
    // once the device exists, whatever the mode switch gives.
    bool create(int32_t width, int32_t height, bool fullscreen, int32_t bits, int32_t refreshRate,
                int32_t samples);
    // Resizes the window and resets the device into the mode; the mode fields change only on
    // success.
    bool setMode(int32_t width, int32_t height, bool fullscreen, int32_t bits, int32_t refreshRate,
                 int32_t samples);
    void present();
    void releaseAll();

    // Escape and the close button post the quit message.
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

    // The format for `bits`: R5G6B5 for 16, X8R8G8B8 otherwise.
    static D3DFORMAT formatForBits(int32_t bits);
    // The presentation parameters setMode resets the device with.
    static D3DPRESENT_PARAMETERS presentParameters(int32_t width, int32_t height, bool fullscreen,
                                                   int32_t bits, int32_t refreshRate,
                                                   int32_t samples);

    // Set before create to keep the window hidden: the device draws into its back buffer all
    // the same.
    bool shown = true;
    int32_t width = 0;
    int32_t height = 0;
    bool fullscreen = false;
    int32_t bits = 0;
    int32_t refreshRate = 0;
    int32_t samples = 0;
    // The style create opens the window with; a tool that lets the window be resized widens it.
    DWORD windowStyle = WS_CAPTION;
    WNDCLASSA windowClass{};
    HWND window = nullptr;
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};
