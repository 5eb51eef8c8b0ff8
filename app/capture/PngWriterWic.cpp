// PNG files through the Windows Imaging Component's encoder, which every Windows has.
#include "app/capture/PngWriter.h"

#include "app/capture/PartialFile.h"

#include <windows.h>

#include <wincodec.h>

#include <cstdio>
#include <vector>

namespace {

// One reference to a COM object, given back when it goes out of scope.
template <typename T> struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p) {
            p->Release();
        }
    }
    T* operator->() const { return p; }
    T** out() { return &p; }
};

std::wstring widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return wide;
}

std::string describe(HRESULT result) {
    char text[32];
    std::snprintf(text, sizeof(text), "error 0x%08lx", static_cast<unsigned long>(result));
    return text;
}

// WIC's PNG encoder takes 24-bit pixels blue first.
std::vector<uint8_t> toBgr(int width, int height, const uint8_t* rgb, size_t stride) {
    std::vector<uint8_t> bgr(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    uint8_t* out = bgr.data();
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rgb + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return bgr;
}

HRESULT encode(const std::string& path, int width, int height, std::vector<uint8_t>& bgr) {
    ComPtr<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()));
    ComPtr<IWICStream> stream;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateStream(stream.out());
    }
    if (SUCCEEDED(hr)) {
        hr = stream->InitializeFromFilename(widen(path).c_str(), GENERIC_WRITE);
    }
    ComPtr<IWICBitmapEncoder> encoder;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out());
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache);
    }
    ComPtr<IWICBitmapFrameEncode> frame;
    if (SUCCEEDED(hr)) {
        hr = encoder->CreateNewFrame(frame.out(), nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Initialize(nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height));
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr)) {
        hr = frame->SetPixelFormat(&format);
    }
    // An encoder free to pick another format would need the pixels converted first.
    if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    }
    if (SUCCEEDED(hr)) {
        hr = frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 3,
                                static_cast<UINT>(bgr.size()), bgr.data());
    }
    if (SUCCEEDED(hr)) {
        hr = frame->Commit();
    }
    if (SUCCEEDED(hr)) {
        hr = encoder->Commit();
    }
    return hr;
}

} // namespace

bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, size_t stride,
              std::string& error) {
    if (width <= 0 || height <= 0 || !rgb) {
        error = "nothing to write";
        return false;
    }
    // COM once, on the one thread a capture writes from.
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    (void)com;
    std::vector<uint8_t> bgr = toBgr(width, height, rgb, stride);
    PartialFile partial(path);
    const HRESULT hr = encode(partial.path(), width, height, bgr);
    if (FAILED(hr)) {
        error = "cannot write " + path + ": " + describe(hr);
        return false;
    }
    return partial.commit(error);
}
