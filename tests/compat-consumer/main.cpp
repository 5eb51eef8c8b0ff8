// A program written for Windows, Direct3D 9, D3DX and FSOUND, built against the installed
// stand-ins: opens a window and a device, clears and reads a pixel back, draws a texture made
// from a PNG file in memory through a pixel shader compiled from HLSL, optimises a mesh, and
// starts and stops the sound library. It says what failed and exits non-zero on the first failure.

#include <d3d9.h>
#include <d3dx9.h>
#include <fmod.h>
#include <windows.h>

#include <cstdio>

// A 2x2 PNG, every pixel (200, 100, 50).
static const unsigned char kPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0xfd,
    0xd4, 0x9a, 0x73, 0x00, 0x00, 0x00, 0x10, 0x49, 0x44, 0x41, 0x54, 0x78, 0xda, 0x63, 0x38,
    0x91, 0x62, 0x04, 0x44, 0x0c, 0x10, 0x0a, 0x00, 0x28, 0xae, 0x05, 0x79, 0xaa, 0xe0, 0x88,
    0x61, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

static const char kShader[] = "sampler2D image;\n"
                              "float4 main(float2 uv : TEXCOORD0) : COLOR {\n"
                              "    return tex2D(image, uv);\n"
                              "}\n";

struct ScreenVertex {
    float x, y, z, rhw, u, v;
};

static int fail(int code, const char* what) {
    std::fprintf(stderr, "consumer: %s\n", what);
    return code;
}

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The back buffer's top-left pixel as 0xRRGGBB, or 0xFFFFFFFF when it cannot be read.
static DWORD readPixel(LPDIRECT3DDEVICE9 device) {
    LPDIRECT3DSURFACE9 back = NULL;
    LPDIRECT3DSURFACE9 copy = NULL;
    DWORD pixel = 0xFFFFFFFF;
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) &&
        SUCCEEDED(device->CreateOffscreenPlainSurface(32, 32, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                      &copy, NULL)) &&
        SUCCEEDED(device->GetRenderTargetData(back, copy)) &&
        SUCCEEDED(copy->LockRect(&locked, NULL, D3DLOCK_READONLY))) {
        pixel = *static_cast<DWORD*>(locked.pBits) & 0xFFFFFF;
        copy->UnlockRect();
    }
    if (copy) {
        copy->Release();
    }
    if (back) {
        back->Release();
    }
    return pixel;
}

// D3DX: the PNG becomes a 2x2 texture and the HLSL a pixel shader that draws it over the screen.
static int drawTexture(LPDIRECT3DDEVICE9 device) {
    LPDIRECT3DTEXTURE9 texture = NULL;
    if (FAILED(D3DXCreateTextureFromFileInMemory(device, kPng, sizeof kPng, &texture))) {
        return fail(10, "D3DXCreateTextureFromFileInMemory failed");
    }
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    if (desc.Width != 2 || desc.Height != 2) {
        texture->Release();
        return fail(11, "the texture is not 2x2");
    }
    LPD3DXBUFFER code = NULL;
    LPD3DXBUFFER errors = NULL;
    LPD3DXCONSTANTTABLE constants = NULL;
    if (FAILED(D3DXCompileShader(kShader, sizeof kShader - 1, NULL, NULL, "main", "ps_2_0", 0,
                                 &code, &errors, &constants))) {
        std::fprintf(stderr, "%s\n",
                     errors ? static_cast<const char*>(errors->GetBufferPointer()) : "");
        texture->Release();
        return fail(12, "D3DXCompileShader failed");
    }
    LPDIRECT3DPIXELSHADER9 shader = NULL;
    const HRESULT created =
        device->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()), &shader);
    const D3DXHANDLE image = constants->GetConstantByName(NULL, "image");
    const UINT sampler = image ? constants->GetSamplerIndex(image) : 0;
    code->Release();
    constants->Release();
    if (FAILED(created) || !image) {
        texture->Release();
        return fail(13, "the compiled shader is not usable");
    }
    const ScreenVertex quad[4] = {{0, 0, 0.5f, 1, 0, 0},
                                  {32, 0, 0.5f, 1, 1, 0},
                                  {0, 32, 0.5f, 1, 0, 1},
                                  {32, 32, 0.5f, 1, 1, 1}};
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetPixelShader(shader);
    device->SetTexture(sampler, texture);
    device->BeginScene();
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
    device->EndScene();
    device->SetPixelShader(NULL);
    device->SetTexture(sampler, NULL);
    shader->Release();
    texture->Release();
    const DWORD pixel = readPixel(device);
    std::printf("textured pixel %06x\n", static_cast<unsigned>(pixel));
    return pixel == 0xC86432 ? 0 : fail(14, "the shader did not draw the texture");
}

// D3DX meshes: a quad of two triangles reordered for the vertex cache, which needs the mesh
// optimiser in the link line.
static int optimiseMesh(LPDIRECT3DDEVICE9 device) {
    const D3DVERTEXELEMENT9 declaration[] = {
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    LPD3DXMESH mesh = NULL;
    if (FAILED(D3DXCreateMesh(2, 4, D3DXMESH_SYSTEMMEM, declaration, device, &mesh))) {
        return fail(30, "D3DXCreateMesh failed");
    }
    const WORD triangles[6] = {0, 1, 2, 2, 1, 3};
    void* indices = NULL;
    DWORD* attributes = NULL;
    mesh->LockIndexBuffer(0, &indices);
    CopyMemory(indices, triangles, sizeof triangles);
    mesh->UnlockIndexBuffer();
    mesh->LockAttributeBuffer(0, &attributes);
    attributes[0] = attributes[1] = 0;
    mesh->UnlockAttributeBuffer();
    const HRESULT optimised =
        mesh->OptimizeInplace(D3DXMESHOPT_VERTEXCACHE, NULL, NULL, NULL, NULL);
    const DWORD faces = mesh->GetNumFaces();
    mesh->Release();
    return SUCCEEDED(optimised) && faces == 2 ? 0 : fail(31, "the optimised mesh lost its faces");
}

// FSOUND: starts without a sound card (the dummy SDL audio driver) and closes again.
static int startAndStopSound() {
    FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND);
    if (!FSOUND_Init(44100, 32, 0)) {
        return fail(20, "FSOUND_Init failed");
    }
    FSOUND_STREAM* missing = FSOUND_Stream_Open("no-such-music.mp3", FSOUND_LOOP_OFF, 0, 0);
    FSOUND_Close();
    return missing == NULL ? 0 : fail(21, "a missing music file opened");
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
        return fail(2, "no window or no Direct3D");
    }
    D3DPRESENT_PARAMETERS pp;
    ZeroMemory(&pp, sizeof(pp));
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    LPDIRECT3DDEVICE9 device = NULL;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device))) {
        return fail(3, "CreateDevice failed");
    }
    device->Clear(0, NULL, D3DCLEAR_TARGET, D3DCOLOR_XRGB(12, 34, 56), 1.0f, 0);
    const DWORD cleared = readPixel(device);
    std::printf("pixel %06x\n", static_cast<unsigned>(cleared));
    int result = cleared == 0x0C2238 ? 0 : fail(1, "the clear colour did not come back");
    if (result == 0) {
        result = drawTexture(device);
    }
    if (result == 0) {
        result = optimiseMesh(device);
    }
    device->Present(NULL, NULL, NULL, NULL);
    device->Release();
    d3d->Release();
    DestroyWindow(window);
    return result != 0 ? result : startAndStopSound();
}
