// The layer's adapter object over OpenGL: one adapter named from GL_RENDERER and GL_VERSION,
// display modes from SDL, depth formats checked against what a context can make, and device
// creation on a window or offscreen.
#include "platform/PlatLog.h"
#include "platform/d3d8/GlDevice.h"

#include <SDL.h>

#include <cstdio>
#include <vector>

namespace {

D3DFORMAT SdlFormatToD3d(Uint32 f) {
    switch (f) {
        case SDL_PIXELFORMAT_ARGB8888: return D3DFMT_A8R8G8B8;
        case SDL_PIXELFORMAT_RGB565: return D3DFMT_R5G6B5;
        case SDL_PIXELFORMAT_RGB555: return D3DFMT_X1R5G5B5;
        case SDL_PIXELFORMAT_RGB24: return D3DFMT_R8G8B8;
        default:
            return SDL_BITSPERPIXEL(f) == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8; // 24 and 32 bits
    }
}

// Back-buffer formats the layer accepts; it renders every one of them as 32-bit colour.
bool RenderableFormat(D3DFORMAT f) {
    switch (f) {
        case D3DFMT_R8G8B8:
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5: return true;
        default: return false;
    }
}

void LogFailure(const char* what, const std::string& why) {
    PlatLogf(PLAT_LOG_GENERAL | PLAT_LOG_RENDER, "D3d8: %s: %s\n", what, why.c_str());
    std::fprintf(stderr, "D3d8: %s: %s\n", what, why.c_str());
}

class GlD3d final : public D3dRefCounted<IDirect3D8> {
  public:
    // Opens a context once to learn the adapter; false with `error` set when none can be had.
    bool Probe(std::string* error) {
        std::unique_ptr<D3dGlContext> ctx = D3dGlContext::CreateOffscreen(error);
        if (!ctx) return false;
        const char* renderer = (const char*)glGetString(GL_RENDERER);
        const char* version = (const char*)glGetString(GL_VERSION);
        m_id = {};
        std::snprintf(m_id.Description, sizeof m_id.Description, "%s", renderer ? renderer : "");
        std::snprintf(m_id.Driver, sizeof m_id.Driver, "%s", version ? version : "");
        GLint v = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &v);
        m_maxTexture = (DWORD)v;
        glGetIntegerv(GL_MAX_TEXTURE_UNITS, &v);
        m_units = (DWORD)(v < 8 ? v : 8);
        glGetIntegerv(GL_MAX_LIGHTS, &v);
        m_lights = (DWORD)v;
        const D3dGlFuncs& gl = ctx->Gl();
        while (glGetError() != GL_NO_ERROR) {
        }
        GLuint fbo = 0, color = 0, depth = 0;
        gl.GenFramebuffers(1, &fbo);
        gl.BindFramebuffer(GL_FRAMEBUFFER, fbo);
        gl.GenRenderbuffers(1, &color);
        gl.BindRenderbuffer(GL_RENDERBUFFER, color);
        gl.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 16, 16);
        gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
        for (D3DFORMAT f : {D3DFMT_D32, D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16}) {
            gl.GenRenderbuffers(1, &depth);
            gl.BindRenderbuffer(GL_RENDERBUFFER, depth);
            gl.RenderbufferStorage(GL_RENDERBUFFER, D3dGlDevice::DepthInternalFormat(f), 16, 16);
            GLenum attach = f == D3DFMT_D24S8 ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
            gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, attach, GL_RENDERBUFFER, depth);
            if (glGetError() == GL_NO_ERROR &&
                gl.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
                m_depthFormats.push_back(f);
            gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, attach, GL_RENDERBUFFER, 0);
            gl.DeleteRenderbuffers(1, &depth);
        }
        gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
        gl.DeleteFramebuffers(1, &fbo);
        gl.DeleteRenderbuffers(1, &color);
        if (m_depthFormats.empty()) {
            *error = "the context offers no depth buffer";
            return false;
        }
        return true;
    }

    UINT GetAdapterCount() override { return 1; }

    HRESULT GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER8* id) override {
        if (adapter != 0 || !id) return D3DERR_INVALIDCALL;
        *id = m_id;
        return D3D_OK;
    }

    // SDL's modes of the first display, when the program has started SDL's video.
    UINT GetAdapterModeCount(UINT adapter) override {
        if (adapter != 0 || !SDL_WasInit(SDL_INIT_VIDEO)) return 0;
        int n = SDL_GetNumDisplayModes(0);
        return n > 0 ? (UINT)n : 0;
    }

    HRESULT EnumAdapterModes(UINT adapter, UINT index, D3DDISPLAYMODE* out) override {
        if (!out || index >= GetAdapterModeCount(adapter)) return D3DERR_INVALIDCALL;
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(0, (int)index, &m) != 0) return D3DERR_INVALIDCALL;
        *out = {(UINT)m.w, (UINT)m.h, (UINT)m.refresh_rate, SdlFormatToD3d(m.format)};
        return D3D_OK;
    }

    // Without a display the mode is 0 x 0 in 32-bit colour, the format offscreen devices use.
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
        if (adapter != 0 || !mode) return D3DERR_INVALIDCALL;
        *mode = {0, 0, 0, D3DFMT_X8R8G8B8};
        SDL_DisplayMode m{};
        if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &m) == 0)
            *mode = {(UINT)m.w, (UINT)m.h, (UINT)m.refresh_rate, SdlFormatToD3d(m.format)};
        return D3D_OK;
    }

    // Depth formats only; texture formats are the texture layer's to answer.
    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                              D3DRESOURCETYPE, D3DFORMAT format) override {
        if (adapter != 0 || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
        if (!RenderableFormat(adapterFormat)) return D3DERR_NOTAVAILABLE;
        if (usage & D3DUSAGE_DEPTHSTENCIL) return Offered(format);
        return D3DERR_NOTAVAILABLE;
    }

    HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                   D3DFORMAT targetFormat, D3DFORMAT depth) override {
        if (adapter != 0 || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
        if (!RenderableFormat(adapterFormat) || !RenderableFormat(targetFormat))
            return D3DERR_NOTAVAILABLE;
        return Offered(depth);
    }

    // GL always transforms and lights: hardware T&L is always set.
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) override {
        if (adapter != 0 || !caps) return D3DERR_INVALIDCALL;
        *caps = {};
        caps->DeviceType = type;
        caps->DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
        caps->Caps2 = D3DCAPS2_CANRENDERWINDOWED; // every context here can draw in a window
        caps->MaxTextureWidth = caps->MaxTextureHeight = m_maxTexture;
        caps->MaxTextureBlendStages = caps->MaxSimultaneousTextures = m_units;
        caps->MaxActiveLights = m_lights;
        caps->MaxStreams = 1;
        caps->MaxPrimitiveCount = 0xFFFFF;
        caps->MaxVertexIndex = 0xFFFFFF;
        return D3D_OK;
    }

    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD behavior,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice8** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        *device = nullptr;
        if (adapter != 0 || type != D3DDEVTYPE_HAL || !params) return D3DERR_INVALIDCALL;
        if (params->EnableAutoDepthStencil && FAILED(Offered(params->AutoDepthStencilFormat))) {
            LogFailure("CreateDevice", "depth format " +
                                           std::to_string(params->AutoDepthStencilFormat) +
                                           " is not offered");
            return D3DERR_INVALIDCALL;
        }
        auto* window = static_cast<SDL_Window*>(focus ? focus : params->hDeviceWindow);
        std::string error;
        std::unique_ptr<D3dGlContext> ctx = window ? D3dGlContext::CreateForWindow(window, &error)
                                                   : D3dGlContext::CreateOffscreen(&error);
        if (!ctx) {
            LogFailure("CreateDevice", error);
            return D3DERR_NOTAVAILABLE;
        }
        D3dGlDevice* dev = D3dGlDevice::Create(this, std::move(ctx), *params, behavior, &error);
        if (!dev) {
            LogFailure("CreateDevice", error);
            return D3DERR_NOTAVAILABLE;
        }
        *device = dev;
        return D3D_OK;
    }

  private:
    ~GlD3d() override = default;
    HRESULT Offered(D3DFORMAT f) const {
        for (D3DFORMAT d : m_depthFormats)
            if (d == f) return D3D_OK;
        return D3DERR_NOTAVAILABLE;
    }

    D3DADAPTER_IDENTIFIER8 m_id{};
    DWORD m_maxTexture = 0;
    DWORD m_units = 0;
    DWORD m_lights = 0;
    std::vector<D3DFORMAT> m_depthFormats;
};

} // namespace

IDirect3D8* Direct3DCreate8(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) {
        LogFailure("Direct3DCreate8", "SDK version " + std::to_string(sdkVersion) + " asked, " +
                                          std::to_string(D3D_SDK_VERSION) + " offered");
        return nullptr;
    }
    auto* d3d = new GlD3d();
    std::string error;
    if (!d3d->Probe(&error)) {
        LogFailure("Direct3DCreate8", error);
        d3d->Release();
        return nullptr;
    }
    return d3d;
}
