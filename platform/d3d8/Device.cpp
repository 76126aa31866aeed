// The layer's device over OpenGL's compatibility profile. Direct3D's conventions are emulated
// here so the kernel keeps its meaning: depth 0..1, pixel centres on integers, viewport rows
// counted from the top, Clear limited to the viewport, Direct3D's cull sense, ARGB vertex
// colours, texture stages on GL's combiners with per-stage sampler objects.
#include "platform/d3d8/GlDevice.h"

#include "platform/PlatLog.h"
#include "platform/d3d8/GlTexture.h"
#include "platform/d3d8/Texture.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

GLenum D3dGlDevice::DepthInternalFormat(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_D32: return GL_DEPTH_COMPONENT32;
        case D3DFMT_D24S8: return GL_DEPTH24_STENCIL8;
        case D3DFMT_D24X8: return GL_DEPTH_COMPONENT24;
        case D3DFMT_D16: return GL_DEPTH_COMPONENT16;
        default: return 0; // D15S1 and D24X4S4 have no GL twin
    }
}

// ---- creation ----

D3dGlDevice::D3dGlDevice(IDirect3D8* d3d, std::unique_ptr<D3dGlContext> context,
                         const D3DPRESENT_PARAMETERS& params, DWORD behaviorFlags)
    : D3dDeviceBase(d3d, params, behaviorFlags), m_context(std::move(context)) {}

D3dGlDevice* D3dGlDevice::Create(IDirect3D8* d3d, std::unique_ptr<D3dGlContext> context,
                                 const D3DPRESENT_PARAMETERS& params, DWORD behaviorFlags,
                                 std::string* error) {
    D3dGlDevice* dev = new D3dGlDevice(d3d, std::move(context), params, behaviorFlags);
    const D3dGlFuncs& gl = dev->Gl();
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &dev->m_units);
    dev->m_units = std::clamp(dev->m_units, 1, (GLint)D3D_MAX_TEXTURE_STAGES);
    glGetIntegerv(GL_MAX_LIGHTS, &dev->m_maxLights);
    dev->m_maxLights = std::clamp(dev->m_maxLights, 0, 8);
    if (!dev->MakeBackBuffer(dev->PresentParams(), error)) {
        dev->Release();
        return nullptr;
    }
    gl.GenSamplers((GLsizei)D3D_MAX_TEXTURE_STAGES, dev->m_samplers);
    for (GLint u = 0; u < (GLint)D3D_MAX_TEXTURE_STAGES; ++u)
        if (u < dev->m_units) gl.BindSampler((GLuint)u, dev->m_samplers[u]);
    glGenTextures(1, &dev->m_white);
    glBindTexture(GL_TEXTURE_2D, dev->m_white);
    const uint32_t white = 0xFFFFFFFFu;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
    // One level only: complete under any mip filter.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    dev->ResetStates(); // the viewport again, now that the back buffer's size is known
    dev->ApplyAllStates();
    return dev;
}

D3dGlDevice::~D3dGlDevice() {
    m_context->MakeCurrent();
    const D3dGlFuncs& gl = Gl();
    gl.DeleteSamplers((GLsizei)D3D_MAX_TEXTURE_STAGES, m_samplers);
    if (m_white) glDeleteTextures(1, &m_white);
    if (m_targetFbo) gl.DeleteFramebuffers(1, &m_targetFbo);
    FreeViewFramebuffer();
    FreeBackBuffer();
    if (m_context->Window() && !PresentParams().Windowed)
        SDL_SetWindowFullscreen(m_context->Window(), 0);
}

// Full screen covers the window's display: in that size's own mode when the display lists it and
// it is not the desktop's, else over the desktop as it is. The window is first put over the whole
// display, since SDL leaves sizing a full-screen window to the window manager and without one the
// window would keep its windowed size. A window already full screen at that size (a reset after
// the window manager sized it) is left as it is. The size is replaced by the desktop's when that
// is what the window takes.
static void EnterFullScreen(SDL_Window* w, UINT* backWidth, UINT* backHeight) {
    int width = (int)*backWidth, height = (int)*backHeight;
    int display = SDL_GetWindowDisplayIndex(w);
    if (display < 0) display = 0;
    int drawnW = 0, drawnH = 0;
    SDL_GL_GetDrawableSize(w, &drawnW, &drawnH);
    if ((SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN) && drawnW == width && drawnH == height)
        return;
    SDL_DisplayMode desktop{};
    const bool known = SDL_GetDesktopDisplayMode(display, &desktop) == 0;
    bool listed = false;
    for (int i = 0, n = SDL_GetNumDisplayModes(display); i < n && !listed; ++i) {
        SDL_DisplayMode m{};
        listed = SDL_GetDisplayMode(display, i, &m) == 0 && m.w == width && m.h == height;
    }
    const bool ownMode = listed && !(known && desktop.w == width && desktop.h == height);
    Uint32 flag = SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (ownMode) {
        SDL_DisplayMode mode{};
        mode.w = width;
        mode.h = height;
        SDL_SetWindowDisplayMode(w, &mode);
        flag = SDL_WINDOW_FULLSCREEN;
    } else if (known) {
        width = desktop.w;
        height = desktop.h;
        *backWidth = (UINT)width;
        *backHeight = (UINT)height;
    }
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(display, &bounds) != 0) bounds = SDL_Rect{};
    SDL_SetWindowFullscreen(w, 0);
    SDL_SetWindowPosition(w, bounds.x, bounds.y);
    if (width > 0 && height > 0) SDL_SetWindowSize(w, width, height);
    if (SDL_SetWindowFullscreen(w, flag) != 0)
        PlatLogf(PLAT_LOG_RENDER, "D3d8: full screen refused: %s\n", SDL_GetError());
}

bool D3dGlDevice::MakeBackBuffer(const D3DPRESENT_PARAMETERS& params, std::string* error) {
    const D3dGlFuncs& gl = Gl();
    D3DPRESENT_PARAMETERS& kept = MutablePresentParams();
    if (params.BackBufferFormat != D3DFMT_X8R8G8B8 && params.BackBufferFormat != D3DFMT_A8R8G8B8) {
        PlatLogf(PLAT_LOG_RENDER, "D3d8: back-buffer format %u is not offered, using X8R8G8B8\n",
                 (unsigned)params.BackBufferFormat);
        kept.BackBufferFormat = D3DFMT_X8R8G8B8;
    }
    if (SDL_Window* w = m_context->Window()) {
        if (!params.Windowed)
            EnterFullScreen(w, &kept.BackBufferWidth, &kept.BackBufferHeight);
        else
            SDL_SetWindowFullscreen(w, 0);
        bool vsync =
            !params.Windowed && params.FullScreen_PresentationInterval == D3DPRESENT_INTERVAL_ONE;
        m_context->SetSwapInterval(vsync ? 1 : 0);
        gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
        return true;
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0 ||
        params.BackBufferWidth > (UINT)maxSize || params.BackBufferHeight > (UINT)maxSize) {
        *error = "an offscreen back buffer of " + std::to_string(params.BackBufferWidth) + " x " +
                 std::to_string(params.BackBufferHeight) + " cannot be made";
        return false;
    }
    gl.GenFramebuffers(1, &m_fbo);
    gl.BindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    gl.GenRenderbuffers(1, &m_colorBuffer);
    gl.BindRenderbuffer(GL_RENDERBUFFER, m_colorBuffer);
    gl.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, (GLsizei)params.BackBufferWidth,
                           (GLsizei)params.BackBufferHeight);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                               m_colorBuffer);
    if (HasDepth()) {
        GLenum internal = DepthInternalFormat(params.AutoDepthStencilFormat);
        if (!internal) {
            *error = "depth format " + std::to_string(params.AutoDepthStencilFormat) +
                     " has no OpenGL equivalent";
            FreeBackBuffer();
            return false;
        }
        gl.GenRenderbuffers(1, &m_depthBuffer);
        gl.BindRenderbuffer(GL_RENDERBUFFER, m_depthBuffer);
        gl.RenderbufferStorage(GL_RENDERBUFFER, internal, (GLsizei)params.BackBufferWidth,
                               (GLsizei)params.BackBufferHeight);
        gl.FramebufferRenderbuffer(GL_FRAMEBUFFER,
                                   HasStencil() ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                   GL_RENDERBUFFER, m_depthBuffer);
    }
    gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
    if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        *error = "the offscreen back buffer is incomplete";
        FreeBackBuffer();
        return false;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return true;
}

void D3dGlDevice::FreeBackBuffer() {
    const D3dGlFuncs& gl = Gl();
    if (m_fbo) {
        gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
        gl.DeleteFramebuffers(1, &m_fbo);
    }
    if (m_colorBuffer) gl.DeleteRenderbuffers(1, &m_colorBuffer);
    if (m_depthBuffer) gl.DeleteRenderbuffers(1, &m_depthBuffer);
    m_fbo = m_colorBuffer = m_depthBuffer = 0;
}

// ---- reset and presentation ----

HRESULT D3dGlDevice::OnReset(const D3DPRESENT_PARAMETERS& params) {
    m_topDown = false; // the reset device renders into its back buffer again
    FreeBackBuffer();
    std::string error;
    if (!MakeBackBuffer(params, &error)) {
        PlatLogf(PLAT_LOG_RENDER, "D3d8: Reset failed: %s\n", error.c_str());
        // Keep a usable device on the old parameters; Reset reports the failure.
        std::string again;
        MakeBackBuffer(PresentParams(), &again);
        BindScreen();
        return D3DERR_INVALIDCALL;
    }
    // The editor's view outlives a reset: GL loses nothing.
    BindScreen();
    return D3D_OK;
}

HRESULT D3dGlDevice::Reset(D3DPRESENT_PARAMETERS* params) {
    HRESULT hr = D3dDeviceBase::Reset(params);
    if (SUCCEEDED(hr)) ApplyAllStates();
    return hr;
}

// The window always shows the whole back buffer: it is the window's own drawable, so the
// source rectangle (the screen size) always covers it.
HRESULT D3dGlDevice::Present(const RECT* source, const RECT* dest, HWND destWindow,
                             const void* dirtyRegion) {
    HRESULT hr = D3dDeviceBase::Present(source, dest, destWindow, dirtyRegion);
    if (FAILED(hr)) return hr;
    // The hook may turn the view off (editor mode left from its frame): the states go back
    // all the same.
    const bool composing = m_viewFbo != 0;
    if (composing) {
        BeginForeignDraw();
        if (m_composeHook) m_composeHook(m_composeContext);
    }
    if (m_context->Window())
        m_context->Swap();
    else
        glFlush();
    if (composing) EndForeignDraw();
    return D3D_OK;
}

void D3dGlDevice::BackBufferSize(UINT* width, UINT* height) {
    if (m_viewFbo) {
        *width = (UINT)m_viewWidth;
        *height = (UINT)m_viewHeight;
        return;
    }
    if (m_context && m_context->Window()) {
        int w = 0, h = 0;
        m_context->DrawableSize(&w, &h);
        *width = (UINT)std::max(w, 0);
        *height = (UINT)std::max(h, 0);
        return;
    }
    D3dDeviceBase::BackBufferSize(width, height);
}

UINT D3dGlDevice::TargetHeight() {
    UINT w = 0, h = 0;
    TargetSize(&w, &h);
    return h;
}

// Always the back buffer, whatever is being rendered into.
void D3dGlDevice::ReadBackBuffer(const RECT& rect, uint8_t* out, int32_t pitch) {
    int32_t w = rect.right - rect.left, h = rect.bottom - rect.top;
    size_t row = (size_t)w * 4;
    std::vector<uint8_t> rows(row * (size_t)h);
    UINT bw = 0, bh = 0;
    BackBufferSize(&bw, &bh);
    if (m_topDown) {
        Gl().BindFramebuffer(GL_READ_FRAMEBUFFER, ScreenFbo());
        glReadBuffer(ScreenFbo() ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    }
    // Between a swap and the next frame the window's back buffer holds nothing defined: the
    // frame last presented is read from the front buffer. An offscreen target keeps its frame.
    GLint readBuffer = 0, readFbo = 0;
    const bool front = PresentedSinceBegin() && m_context && m_context->Window() && !ScreenFbo();
    if (front) {
        glGetIntegerv(GL_READ_BUFFER, &readBuffer);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFbo);
        Gl().BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadBuffer(GL_FRONT);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // GL counts rows from the bottom; Direct3D's row 0 is the top.
    glReadPixels(rect.left, (GLint)bh - rect.bottom, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    if (front) {
        Gl().BindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)readFbo);
        glReadBuffer((GLenum)readBuffer);
    }
    if (m_topDown) {
        Gl().BindFramebuffer(GL_READ_FRAMEBUFFER, m_targetFbo);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
    }
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(out + (size_t)y * (size_t)pitch, rows.data() + (size_t)(h - 1 - y) * row, row);
}

// ---- render targets ----

HRESULT D3dGlDevice::SetRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth) {
    IDirect3DSurface8 *oldTarget = nullptr, *oldDepth = nullptr;
    GetRenderTarget(&oldTarget);
    GetDepthStencilSurface(&oldDepth);
    HRESULT hr = D3dDeviceBase::SetRenderTarget(target, depth);
    if (SUCCEEDED(hr) && !BindTarget()) {
        D3dDeviceBase::SetRenderTarget(oldTarget, oldDepth);
        BindTarget();
        hr = D3DERR_INVALIDCALL;
    }
    if (oldTarget) oldTarget->Release();
    if (oldDepth) oldDepth->Release();
    return hr;
}

bool D3dGlDevice::BindTarget() {
    const D3dGlFuncs& gl = Gl();
    D3dTextureSurface* level = TargetLevel();
    auto* texture = level ? dynamic_cast<D3dTexture*>(level->Container()) : nullptr;
    bool complete = true;
    if (!texture) {
        if (m_targetFbo) {
            // Let go of the texture and depth: GL would keep them alive while attached.
            gl.BindFramebuffer(GL_FRAMEBUFFER, m_targetFbo);
            gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
            gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                       0);
        }
        gl.BindFramebuffer(GL_FRAMEBUFFER, ScreenFbo());
        glDrawBuffer(ScreenFbo() ? GL_COLOR_ATTACHMENT0 : GL_BACK);
        glReadBuffer(ScreenFbo() ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    } else {
        if (!m_targetFbo) gl.GenFramebuffers(1, &m_targetFbo);
        gl.BindFramebuffer(GL_FRAMEBUFFER, m_targetFbo);
        gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                                texture->GlName(), (GLint)level->Level());
        D3dDepthSurface* depth = TargetDepth();
        gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
        if (depth)
            gl.FramebufferRenderbuffer(GL_FRAMEBUFFER,
                                       depth->HasStencil() ? GL_DEPTH_STENCIL_ATTACHMENT
                                                           : GL_DEPTH_ATTACHMENT,
                                       GL_RENDERBUFFER, depth->storage);
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glReadBuffer(GL_COLOR_ATTACHMENT0);
        const GLenum status = gl.CheckFramebufferStatus(GL_FRAMEBUFFER);
        if (status != GL_FRAMEBUFFER_COMPLETE) {
            PlatLogf(PLAT_LOG_RENDER,
                     "D3d8: SetRenderTarget: GL cannot render into the texture (0x%x)\n",
                     (unsigned)status);
            complete = false;
        }
    }
    m_topDown = texture != nullptr;
    ApplyRenderState(D3DRS_ZENABLE);
    ApplyRenderState(D3DRS_CULLMODE);
    ApplyViewport();
    return complete;
}

bool D3dGlDevice::MakeDepthStorage(D3dDepthSurface* surface) {
    const D3dGlFuncs& gl = Gl();
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (surface->Width() > (UINT)maxSize || surface->Height() > (UINT)maxSize) return false;
    GLuint name = 0;
    gl.GenRenderbuffers(1, &name);
    gl.BindRenderbuffer(GL_RENDERBUFFER, name);
    gl.RenderbufferStorage(GL_RENDERBUFFER, DepthInternalFormat(surface->Format()),
                           (GLsizei)surface->Width(), (GLsizei)surface->Height());
    gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
    surface->storage = name;
    return true;
}

void D3dGlDevice::FreeDepthStorage(D3dDepthSurface* surface) {
    GLuint name = surface->storage;
    if (name) Gl().DeleteRenderbuffers(1, &name);
    surface->storage = 0;
}

// ---- clear ----

HRESULT D3dGlDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                           DWORD stencil) {
    HRESULT hr = D3dDeviceBase::Clear(count, rects, flags, color, z, stencil);
    if (FAILED(hr)) return hr;
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) bits |= GL_COLOR_BUFFER_BIT;
    if (flags & D3DCLEAR_ZBUFFER) bits |= GL_DEPTH_BUFFER_BIT;
    if (flags & D3DCLEAR_STENCIL) bits |= GL_STENCIL_BUFFER_BIT;
    if (!bits) return D3D_OK;
    float c[4];
    D3dArgbToFloats(color, c);
    glClearColor(c[0], c[1], c[2], c[3]);
    glClearDepth(z);
    glClearStencil((GLint)(stencil & 0xFF));
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFFFFFFFFu);
    glEnable(GL_SCISSOR_TEST);
    // Direct3D clears the viewport, or the given rectangles inside it.
    const D3DVIEWPORT8& vp = Viewport();
    const int32_t vx0 = (int32_t)vp.X, vy0 = (int32_t)vp.Y;
    const int32_t vx1 = vx0 + (int32_t)vp.Width, vy1 = vy0 + (int32_t)vp.Height;
    const int32_t height = (int32_t)TargetHeight();
    D3DRECT whole{vx0, vy0, vx1, vy1};
    DWORD n = count ? count : 1;
    const D3DRECT* list = count ? rects : &whole;
    for (DWORD i = 0; i < n; ++i) {
        int32_t x0 = std::max(list[i].x1, vx0), y0 = std::max(list[i].y1, vy0);
        int32_t x1 = std::min(list[i].x2, vx1), y1 = std::min(list[i].y2, vy1);
        if (x0 >= x1 || y0 >= y1) continue;
        glScissor(x0, m_topDown ? y0 : height - y1, x1 - x0, y1 - y0);
        glClear(bits);
    }
    glDisable(GL_SCISSOR_TEST);
    RestoreWriteMasks();
    return D3D_OK;
}

void D3dGlDevice::RestoreWriteMasks() {
    DWORD cw = RenderState(D3DRS_COLORWRITEENABLE);
    glColorMask((cw & 1) != 0, (cw & 2) != 0, (cw & 4) != 0, (cw & 8) != 0);
    glDepthMask(RenderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);
    glStencilMask(RenderState(D3DRS_STENCILWRITEMASK));
}
