// The device's life: the GL context, the back buffer and depth buffer, Reset and Present.

#include "Device.h"

#include "Buffers.h"
#include "Direct3D9.h"
#include "GlScratch.h"
#include "ProgramCache.h"
#include "Refusal.h"
#include "Shader.h"
#include "StateBlock.h"
#include "StreamRing.h"
#include "Surface.h"
#include "Texture.h"
#include "VertexDeclaration.h"

#include <tarnelix/Win32Window.h>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tarnelix::d3d9 {

DeviceChild::DeviceChild(Device* device) : device_(device) {
    if (device_) {
        device_->registerChild(this);
    }
}

DeviceChild::~DeviceChild() {
    if (device_) {
        device_->unregisterChild(this);
    }
}

HRESULT DeviceChild::getDevice(IDirect3DDevice9** out) const {
    if (!out || !device_) {
        return D3DERR_INVALIDCALL;
    }
    device_->AddRef();
    *out = device_;
    return D3D_OK;
}

namespace {

bool hasExtension(const char* name) {
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i) {
        const char* extension =
            reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
        if (extension && std::strcmp(extension, name) == 0) {
            return true;
        }
    }
    return false;
}

bool isBackBufferFormat(D3DFORMAT format) {
    return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8 || format == D3DFMT_R5G6B5;
}

} // namespace

HRESULT Device::create(Direct3D9* parent, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS& parameters, IDirect3DDevice9** out) {
    HWND window = parameters.hDeviceWindow ? parameters.hDeviceWindow : focusWindow;
    if (!sdlWindowOf(window)) {
        std::fprintf(stderr,
                     "tarnelix d3d9: CreateDevice needs a window made by CreateWindowExA\n");
        return D3DERR_INVALIDCALL;
    }
    Device* device = new Device(parent, window, behaviorFlags);
    if (!device->initialiseGl()) {
        device->Release();
        return D3DERR_NOTAVAILABLE;
    }
    HRESULT result = device->applyPresentation(parameters);
    if (FAILED(result)) {
        device->Release();
        return result;
    }
    *out = device;
    return D3D_OK;
}

Device::Device(Direct3D9* parent, HWND focusWindow, DWORD behaviorFlags)
    : parent_(parent), focusWindow_(focusWindow), behaviorFlags_(behaviorFlags) {
    parent_->AddRef();
    window_ = sdlWindowOf(focusWindow);
    for (D3DMATRIX& m : transforms_) {
        std::memset(&m, 0, sizeof(m));
        m._11 = m._22 = m._33 = m._44 = 1.0f;
    }
}

bool Device::initialiseGl() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    // Only a debug context is sure to report every error through KHR_debug; it may be slower,
    // so it is asked for only when checking.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, glCheckRequested() ? SDL_GL_CONTEXT_DEBUG_FLAG : 0);
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) {
        std::fprintf(stderr, "tarnelix d3d9: cannot create an OpenGL 3.3 core context: %s\n",
                     SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(window_, context_);
    startGlCheck();
    parent_->noteRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                          reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    GLint major = 0;
    GLint minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    int version = major * 10 + minor;
    if (version < 33) {
        std::fprintf(stderr, "tarnelix d3d9: OpenGL %d.%d is older than the 3.3 the device needs\n",
                     major, minor);
        return false;
    }
    findOptionalGl(version);
    readSizeLimits();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGenVertexArrays(1, &draw_.vertexArray);
    glBindVertexArray(draw_.vertexArray);
    glGenFramebuffers(1, &framebuffer_);
    glGenFramebuffers(1, &readFramebuffer_);
    glGenSamplers(kSamplerCount, draw_.samplerObjects);
    for (int i = 0; i < kSamplerCount; ++i) {
        glBindSampler(static_cast<GLuint>(i), draw_.samplerObjects[i]);
    }
    // Attributes a vertex does not carry read as Direct3D's defaults: white diffuse, black
    // specular, (0, 0, 0, 1) elsewhere.
    for (GLuint location = 0; location < 16; ++location) {
        glVertexAttrib4f(location, 0.0f, 0.0f, 0.0f, 1.0f);
    }
    glVertexAttrib4f(5, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexAttrib4f(6, 0.0f, 0.0f, 0.0f, 0.0f);
    // Rows run top first, so GL's lower left is Direct3D's top left, where sprites start.
    glPointParameteri(GL_POINT_SPRITE_COORD_ORIGIN, GL_LOWER_LEFT);
    GLfloat pointSizes[2] = {1.0f, 1.0f};
    glGetFloatv(GL_POINT_SIZE_RANGE, pointSizes);
    D3DCAPS9 caps;
    fillCaps(caps);
    draw_.maxPointSize = std::min(pointSizes[1], caps.MaxPointSize);
    programs_ = std::make_unique<ProgramCache>(!draw_.clipControl);
    vertexRing_ = std::make_unique<StreamRing>(GL_ARRAY_BUFFER, 4u << 20);
    glBindVertexArray(draw_.vertexArray);
    indexRing_ = std::make_unique<StreamRing>(GL_ELEMENT_ARRAY_BUFFER, 1u << 20);
    draw_.boundIndexBuffer = indexRing_->buffer();
    return true;
}

void Device::findOptionalGl(int version) {
    draw_.clipControl = version >= 45 || hasExtension("GL_ARB_clip_control");
    if (draw_.clipControl) {
        // Direct3D's clip-space depth runs from 0 to w; without this, vertex programs move it.
        glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    }
    draw_.anisotropySupported = version >= 46 ||
                                hasExtension("GL_ARB_texture_filter_anisotropic") ||
                                hasExtension("GL_EXT_texture_filter_anisotropic");
    setRgb565Supported(version >= 41 || hasExtension("GL_ARB_ES2_compatibility"));
    draw_.mirrorOnceSupported =
        version >= 44 || hasExtension("GL_ARB_texture_mirror_clamp_to_edge") ||
        hasExtension("GL_EXT_texture_mirror_clamp") || hasExtension("GL_ATI_texture_mirror_once");
}

void Device::readSizeLimits() {
    auto limit = [](GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return static_cast<UINT>(value > 0 ? value : 0);
    };
    // A render target is a texture and a depth buffer a renderbuffer; either may be either's
    // partner in a framebuffer.
    limits_.surface = std::min(limit(GL_MAX_TEXTURE_SIZE), limit(GL_MAX_RENDERBUFFER_SIZE));
    // Textures also stay within what the caps promise, as they would on the card the caps
    // describe: a program tested here must not rely on more.
    D3DCAPS9 caps;
    fillCaps(caps);
    limits_.texture = std::min({limit(GL_MAX_TEXTURE_SIZE), static_cast<UINT>(caps.MaxTextureWidth),
                                static_cast<UINT>(caps.MaxTextureHeight)});
    limits_.volume =
        std::min(limit(GL_MAX_3D_TEXTURE_SIZE), static_cast<UINT>(caps.MaxVolumeExtent));
    limits_.cube = std::min(limit(GL_MAX_CUBE_MAP_TEXTURE_SIZE), limits_.texture);
}

Device::~Device() {
    bool haveContext = context_ && sdlWindowOf(focusWindow_) == window_ && window_;
    if (haveContext) {
        SDL_GL_MakeCurrent(window_, context_);
    }
    if (recording_) {
        recording_->Release();
        recording_ = nullptr;
    }
    resetState();
    for (auto& entry : fvfDeclarations_) {
        entry.second->Release();
    }
    fvfDeclarations_.clear();
    if (renderTarget_) {
        renderTarget_->Release();
    }
    if (depthStencil_) {
        depthStencil_->Release();
    }
    if (backBuffer_) {
        backBuffer_->Release();
    }
    if (autoDepth_) {
        autoDepth_->Release();
    }
    // Objects the program still holds stay valid as memory; their GL names go now.
    std::unordered_set<DeviceChild*> children = children_;
    for (DeviceChild* child : children) {
        if (haveContext) {
            child->detach();
        } else {
            child->releaseGl();
        }
    }
    children_.clear();
    if (haveContext) {
        programs_->releaseGl();
        vertexRing_->releaseGl();
        indexRing_->releaseGl();
        glDeleteSamplers(kSamplerCount, draw_.samplerObjects);
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteFramebuffers(1, &readFramebuffer_);
        glDeleteVertexArrays(1, &draw_.vertexArray);
        if (!presentation_.Windowed) {
            SDL_SetWindowFullscreen(window_, 0);
        }
    }
    if (context_) {
        SDL_GL_DeleteContext(context_);
    }
    parent_->Release();
}

void Device::makeCurrent() {
    if (SDL_GL_GetCurrentContext() != context_) {
        SDL_GL_MakeCurrent(window_, context_);
    }
}

HRESULT Device::applyPresentation(D3DPRESENT_PARAMETERS& parameters) {
    if (parameters.BackBufferCount > 3 || parameters.SwapEffect < D3DSWAPEFFECT_DISCARD ||
        parameters.SwapEffect > D3DSWAPEFFECT_COPY) {
        return D3DERR_INVALIDCALL;
    }
    if (parameters.MultiSampleType != D3DMULTISAMPLE_NONE) {
        refuseOnce("multisample type", parameters.MultiSampleType);
        return D3DERR_NOTAVAILABLE;
    }
    if (parameters.BackBufferFormat == D3DFMT_UNKNOWN) {
        if (!parameters.Windowed) {
            return D3DERR_INVALIDCALL;
        }
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    }
    if (!isBackBufferFormat(parameters.BackBufferFormat)) {
        refuseOnce("back-buffer format", parameters.BackBufferFormat);
        return D3DERR_NOTAVAILABLE;
    }
    const FormatInfo* depthFormat = findFormat(parameters.AutoDepthStencilFormat);
    if (parameters.EnableAutoDepthStencil && (!depthFormat || !depthFormat->depth)) {
        refuseOnce("depth-stencil format", parameters.AutoDepthStencilFormat);
        return D3DERR_NOTAVAILABLE;
    }
    if (parameters.Windowed) {
        if (!presentation_.Windowed || !backBuffer_) {
            SDL_SetWindowFullscreen(window_, 0);
        }
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        if (parameters.BackBufferWidth == 0) {
            parameters.BackBufferWidth = static_cast<UINT>(width > 0 ? width : 1);
        }
        if (parameters.BackBufferHeight == 0) {
            parameters.BackBufferHeight = static_cast<UINT>(height > 0 ? height : 1);
        }
        parameters.FullScreen_RefreshRateInHz = 0;
    } else {
        if (parameters.BackBufferWidth == 0 || parameters.BackBufferHeight == 0) {
            return D3DERR_INVALIDCALL;
        }
        SDL_DisplayMode closest{};
        bool listed = false;
        for (const D3DDISPLAYMODE& mode : displayModes(
                 parameters.BackBufferFormat == D3DFMT_R5G6B5 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8)) {
            listed = listed || (mode.Width == parameters.BackBufferWidth &&
                                mode.Height == parameters.BackBufferHeight);
        }
        if (!listed) {
            std::fprintf(stderr, "tarnelix d3d9: the display has no %ux%u mode\n",
                         parameters.BackBufferWidth, parameters.BackBufferHeight);
            return D3DERR_INVALIDCALL;
        }
        SDL_DisplayMode wanted{};
        wanted.w = static_cast<int>(parameters.BackBufferWidth);
        wanted.h = static_cast<int>(parameters.BackBufferHeight);
        wanted.refresh_rate = static_cast<int>(parameters.FullScreen_RefreshRateInHz);
        if (!SDL_GetClosestDisplayMode(0, &wanted, &closest)) {
            closest = wanted; // the driver lists no modes of its own: ask for ours
        }
        SDL_SetWindowDisplayMode(window_, &closest);
        if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) {
            std::fprintf(stderr, "tarnelix d3d9: cannot switch to full screen: %s\n",
                         SDL_GetError());
            return D3DERR_INVALIDCALL;
        }
    }
    if (parameters.BackBufferCount == 0) {
        parameters.BackBufferCount = 1;
    }
    makeCurrent();
    SDL_GL_SetSwapInterval(parameters.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0
                                                                                            : 1);
    resetState();
    if (renderTarget_) {
        renderTarget_->Release();
        renderTarget_ = nullptr;
    }
    if (depthStencil_) {
        depthStencil_->Release();
        depthStencil_ = nullptr;
    }
    if (backBuffer_) {
        backBuffer_->Release();
        backBuffer_ = nullptr;
    }
    if (autoDepth_) {
        autoDepth_->Release();
        autoDepth_ = nullptr;
    }
    D3DSURFACE_DESC colour{parameters.BackBufferFormat, D3DRTYPE_SURFACE,
                           D3DUSAGE_RENDERTARGET,       D3DPOOL_DEFAULT,
                           D3DMULTISAMPLE_NONE,         0,
                           parameters.BackBufferWidth,  parameters.BackBufferHeight};
    backBuffer_ = new Surface(this, colour);
    if (parameters.EnableAutoDepthStencil) {
        D3DSURFACE_DESC depth = colour;
        depth.Format = parameters.AutoDepthStencilFormat;
        depth.Usage = D3DUSAGE_DEPTHSTENCIL;
        autoDepth_ = new Surface(this, depth);
        autoDepth_->AddRef();
        depthStencil_ = autoDepth_;
    }
    presentation_ = parameters;
    state_.render[D3DRS_ZENABLE] = parameters.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    setRenderTargetInternal(backBuffer_);
    // A new back buffer starts black, as a freshly created one does on Direct3D.
    Clear(0, nullptr, D3DCLEAR_TARGET | (autoDepth_ ? D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL : 0), 0,
          1.0f, 0);
    return D3D_OK;
}

void Device::resetState() {
    for (int i = 0; i < kSamplerCount; ++i) {
        if (textures_[i]) {
            textures_[i]->Release();
            textures_[i] = nullptr;
            boundTextures_[i] = nullptr;
        }
    }
    for (Stream& stream : streams_) {
        if (stream.buffer) {
            stream.buffer->Release();
        }
        stream = Stream{};
    }
    if (indices_) {
        indices_->Release();
        indices_ = nullptr;
    }
    if (declaration_) {
        declaration_->Release();
        declaration_ = nullptr;
    }
    if (vertexShader_) {
        vertexShader_->Release();
        vertexShader_ = nullptr;
    }
    if (pixelShader_) {
        pixelShader_->Release();
        pixelShader_ = nullptr;
    }
    fvf_ = 0;
    state_.setDefaults();
    state_.render[D3DRS_ZENABLE] = presentation_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    for (D3DMATRIX& m : transforms_) {
        std::memset(&m, 0, sizeof(m));
        m._11 = m._22 = m._33 = m._44 = 1.0f;
    }
    transformsChanged(D3DTS_PROJECTION);
    std::memset(vsFloat_, 0, sizeof(vsFloat_));
    std::memset(psFloat_, 0, sizeof(psFloat_));
    std::memset(vsInt_, 0, sizeof(vsInt_));
    std::memset(psInt_, 0, sizeof(psInt_));
    std::memset(vsBool_, 0, sizeof(vsBool_));
    std::memset(psBool_, 0, sizeof(psBool_));
    draw_.dirty = kDirtyAll;
    draw_.texturesDirty = 0xFFFF;
    draw_.samplersDirty = 0xFFFF;
    ++draw_.vsConstantVersion;
    ++draw_.psConstantVersion;
    ++draw_.transformVersion;
    ++draw_.viewportVersion;
    ++draw_.fixedVersion;
    ++draw_.lightVersion;
    ++draw_.clipVersion;
    draw_.inputDeclaration = nullptr;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* parameters) {
    TARNELIX_D3D9_CALL();
    if (!parameters) {
        return D3DERR_INVALIDCALL;
    }
    D3DPRESENT_PARAMETERS wanted = *parameters;
    HRESULT result = applyPresentation(wanted);
    if (SUCCEEDED(result)) {
        *parameters = wanted;
    }
    return result;
}

HRESULT Device::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    TARNELIX_D3D9_CALL();
    if (!backBuffer_ || inScene_) {
        return inScene_ ? D3DERR_INVALIDCALL : D3D_OK;
    }
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window_, &width, &height);
    GLint sourceWidth = static_cast<GLint>(presentation_.BackBufferWidth);
    GLint sourceHeight = static_cast<GLint>(presentation_.BackBufferHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           backBuffer_->glTexture(), 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    bool sameSize = width == sourceWidth && height == sourceHeight;
    // Rows were drawn top first; the window wants them bottom first.
    glBlitFramebuffer(0, 0, sourceWidth, sourceHeight, 0, height, width, 0, GL_COLOR_BUFFER_BIT,
                      sameSize ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(window_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    draw_.dirty |= kDirtyRaster;
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    TARNELIX_D3D9_CALL();
    if (inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    TARNELIX_D3D9_CALL();
    if (!inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = false;
    return D3D_OK;
}

HRESULT Device::TestCooperativeLevel() {
    TARNELIX_D3D9_CALL();
    return D3D_OK;
}

UINT Device::GetAvailableTextureMem() {
    TARNELIX_D3D9_CALL();
    return 512u << 20;
}

HRESULT Device::EvictManagedResources() {
    TARNELIX_D3D9_CALL();
    return D3D_OK;
}

HRESULT Device::GetDirect3D(IDirect3D9** d3d) {
    TARNELIX_D3D9_CALL();
    if (!d3d) {
        return D3DERR_INVALIDCALL;
    }
    parent_->AddRef();
    *d3d = parent_;
    return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS9* caps) {
    TARNELIX_D3D9_CALL();
    if (!caps) {
        return D3DERR_INVALIDCALL;
    }
    fillCaps(*caps);
    caps->MaxPointSize = maxPointSize(); // no larger than the driver draws them
    // Without these a driver would draw something else: linear filtering, mirrored repeat.
    if (!draw_.anisotropySupported) {
        caps->RasterCaps &= ~DWORD{D3DPRASTERCAPS_ANISOTROPY};
        caps->TextureFilterCaps &= ~DWORD{D3DPTFILTERCAPS_MINFANISOTROPIC};
        caps->MaxAnisotropy = 1;
    }
    if (!draw_.mirrorOnceSupported) {
        caps->TextureAddressCaps &= ~DWORD{D3DPTADDRESSCAPS_MIRRORONCE};
        caps->VolumeTextureAddressCaps &= ~DWORD{D3DPTADDRESSCAPS_MIRRORONCE};
    }
    return D3D_OK;
}

HRESULT Device::GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) {
    TARNELIX_D3D9_CALL();
    if (swapChain != 0 || !mode) {
        return D3DERR_INVALIDCALL;
    }
    if (presentation_.Windowed) {
        return parent_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, mode);
    }
    mode->Width = presentation_.BackBufferWidth;
    mode->Height = presentation_.BackBufferHeight;
    mode->RefreshRate = presentation_.FullScreen_RefreshRateInHz;
    mode->Format = presentation_.BackBufferFormat;
    return D3D_OK;
}

HRESULT Device::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    TARNELIX_D3D9_CALL();
    if (!parameters) {
        return D3DERR_INVALIDCALL;
    }
    parameters->AdapterOrdinal = D3DADAPTER_DEFAULT;
    parameters->DeviceType = D3DDEVTYPE_HAL;
    parameters->hFocusWindow = focusWindow_;
    parameters->BehaviorFlags = behaviorFlags_;
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE,
                              IDirect3DSurface9** surface) {
    TARNELIX_D3D9_CALL();
    if (!surface || swapChain != 0 || index != 0 || !backBuffer_) {
        return D3DERR_INVALIDCALL;
    }
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return D3D_OK;
}

HRESULT Device::GetRasterStatus(UINT, D3DRASTER_STATUS* status) {
    TARNELIX_D3D9_CALL();
    if (!status) {
        return D3DERR_INVALIDCALL;
    }
    status->InVBlank = FALSE;
    status->ScanLine = 0;
    return D3D_OK;
}

} // namespace tarnelix::d3d9
