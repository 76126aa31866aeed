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

// ---- Direct3D values to GL ----

static GLenum CmpToGl(DWORD c) {
    return c >= D3DCMP_NEVER && c <= D3DCMP_ALWAYS ? GL_NEVER + (c - D3DCMP_NEVER) : GL_ALWAYS;
}

static GLenum BlendToGl(DWORD b) {
    switch (b) {
        case D3DBLEND_ZERO: return GL_ZERO;
        case D3DBLEND_ONE: return GL_ONE;
        case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
        default: return GL_ONE;
    }
}

static GLenum BlendOpToGl(DWORD op) {
    switch (op) {
        case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
        case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
        case D3DBLENDOP_MIN: return GL_MIN;
        case D3DBLENDOP_MAX: return GL_MAX;
        default: return GL_FUNC_ADD;
    }
}

static GLenum WrapToGl(DWORD a) {
    switch (a) {
        case D3DTADDRESS_MIRROR:
        case D3DTADDRESS_MIRRORONCE: return GL_MIRRORED_REPEAT; // mirror-once has no user
        case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
        default: return GL_REPEAT;
    }
}

static GLenum PrimitiveToGl(D3DPRIMITIVETYPE t) {
    switch (t) {
        case D3DPT_POINTLIST: return GL_POINTS;
        case D3DPT_LINELIST: return GL_LINES;
        case D3DPT_LINESTRIP: return GL_LINE_STRIP;
        case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
        case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
        default: return GL_TRIANGLES;
    }
}

static void ArgbToFloats(DWORD c, float out[4]) {
    out[0] = (float)((c >> 16) & 0xFF) / 255.0f;
    out[1] = (float)((c >> 8) & 0xFF) / 255.0f;
    out[2] = (float)(c & 0xFF) / 255.0f;
    out[3] = (float)(c >> 24) / 255.0f;
}

GLenum D3dGlDevice::DepthInternalFormat(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_D32: return GL_DEPTH_COMPONENT32;
        case D3DFMT_D24S8: return GL_DEPTH24_STENCIL8;
        case D3DFMT_D24X8: return GL_DEPTH_COMPONENT24;
        case D3DFMT_D16: return GL_DEPTH_COMPONENT16;
        default: return 0; // D15S1 and D24X4S4 have no GL twin
    }
}

// ---- texture-stage combiners ----

struct CombineSource {
    GLenum source;
    GLenum operand;
};

static CombineSource ArgToGl(DWORD arg, bool alpha) {
    GLenum source;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE: source = GL_PRIMARY_COLOR; break;
        case D3DTA_TEXTURE: source = GL_TEXTURE; break;
        case D3DTA_TFACTOR: source = GL_CONSTANT; break;
        case D3DTA_SPECULAR: source = GL_PRIMARY_COLOR; break; // GL's combiners cannot read it
        default: source = GL_PREVIOUS; break;                  // CURRENT, and TEMP (no user)
    }
    bool complement = (arg & D3DTA_COMPLEMENT) != 0;
    bool replicate = alpha || (arg & D3DTA_ALPHAREPLICATE) != 0;
    GLenum operand = replicate ? (complement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA)
                               : (complement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR);
    return {source, operand};
}

// One channel (colour or alpha) of a unit's combiner from a stage's op and arguments.
static void SetCombine(bool alpha, DWORD op, DWORD arg1, DWORD arg2) {
    const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum src[3] = {alpha ? (GLenum)GL_SRC0_ALPHA : (GLenum)GL_SRC0_RGB,
                           alpha ? (GLenum)GL_SRC1_ALPHA : (GLenum)GL_SRC1_RGB,
                           alpha ? (GLenum)GL_SRC2_ALPHA : (GLenum)GL_SRC2_RGB};
    const GLenum opd[3] = {alpha ? (GLenum)GL_OPERAND0_ALPHA : (GLenum)GL_OPERAND0_RGB,
                           alpha ? (GLenum)GL_OPERAND1_ALPHA : (GLenum)GL_OPERAND1_RGB,
                           alpha ? (GLenum)GL_OPERAND2_ALPHA : (GLenum)GL_OPERAND2_RGB};
    const GLenum alphaOf = GL_SRC_ALPHA;
    CombineSource s[3] = {ArgToGl(arg1, alpha), ArgToGl(arg2, alpha), {GL_PREVIOUS, alphaOf}};
    GLenum mode = GL_MODULATE;
    float scale = 1.0f;
    switch (op) {
        case D3DTOP_DISABLE: // only reaches here for alpha: the stage passes alpha on
            mode = GL_REPLACE;
            s[0] = {GL_PREVIOUS, alpha ? alphaOf : (GLenum)GL_SRC_COLOR};
            break;
        case D3DTOP_SELECTARG1: mode = GL_REPLACE; break;
        case D3DTOP_SELECTARG2:
            mode = GL_REPLACE;
            s[0] = s[1];
            break;
        case D3DTOP_MODULATE2X: scale = 2.0f; break;
        case D3DTOP_MODULATE4X: scale = 4.0f; break;
        case D3DTOP_ADD: mode = GL_ADD; break;
        case D3DTOP_ADDSIGNED: mode = GL_ADD_SIGNED; break;
        case D3DTOP_ADDSIGNED2X:
            mode = GL_ADD_SIGNED;
            scale = 2.0f;
            break;
        case D3DTOP_SUBTRACT: mode = GL_SUBTRACT; break;
        case D3DTOP_BLENDDIFFUSEALPHA:
            mode = GL_INTERPOLATE;
            s[2] = {GL_PRIMARY_COLOR, alphaOf};
            break;
        case D3DTOP_BLENDTEXTUREALPHA:
            mode = GL_INTERPOLATE;
            s[2] = {GL_TEXTURE, alphaOf};
            break;
        case D3DTOP_BLENDFACTORALPHA:
            mode = GL_INTERPOLATE;
            s[2] = {GL_CONSTANT, alphaOf};
            break;
        case D3DTOP_BLENDCURRENTALPHA:
            mode = GL_INTERPOLATE;
            s[2] = {GL_PREVIOUS, alphaOf};
            break;
        case D3DTOP_DOTPRODUCT3: mode = alpha ? GL_MODULATE : GL_DOT3_RGBA; break;
        default: break; // MODULATE, and the ops no caller uses
    }
    glTexEnvi(GL_TEXTURE_ENV, combine, (GLint)mode);
    for (int i = 0; i < 3; ++i) {
        glTexEnvi(GL_TEXTURE_ENV, src[i], (GLint)s[i].source);
        glTexEnvi(GL_TEXTURE_ENV, opd[i], (GLint)s[i].operand);
    }
    glTexEnvf(GL_TEXTURE_ENV, alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE, scale);
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
    ArgbToFloats(color, c);
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

// ---- transforms and viewport ----

HRESULT D3dGlDevice::SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) {
    HRESULT hr = D3dDeviceBase::SetTransform(type, matrix);
    if (FAILED(hr)) return hr;
    if (type == D3DTS_WORLD || type == D3DTS_VIEW) ApplyModelView();
    if (type == D3DTS_VIEW) RespecifyGlLights();
    if (type == D3DTS_PROJECTION) ApplyProjection();
    if (type >= D3DTS_TEXTURE0 && type <= D3DTS_TEXTURE7) m_stagesDirty = true;
    return D3D_OK;
}

// World x view, row vectors: GL reads the same 16 floats as the column-vector transpose.
void D3dGlDevice::ApplyModelView() {
    const float* w = World().m;
    const float* v = View().m;
    float wv[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            wv[r * 4 + c] = w[r * 4 + 0] * v[0 * 4 + c] + w[r * 4 + 1] * v[1 * 4 + c] +
                            w[r * 4 + 2] * v[2 * 4 + c] + w[r * 4 + 3] * v[3 * 4 + c];
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(wv);
}

// Direct3D puts pixel centres on integer coordinates, GL half a pixel further: every
// projection is followed by a clip-space shift of half a pixel right and down, kept current
// with the viewport's size. Clip y is then negated, undone by the upper-left clip origin (see
// ApplyAllStates), so the picture lands where it did.
void D3dGlDevice::ApplyProjection() {
    const D3DVIEWPORT8& vp = Viewport();
    float dx = vp.Width ? 1.0f / (float)vp.Width : 0.0f;
    float dy = vp.Height ? -1.0f / (float)vp.Height : 0.0f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(1.0f, m_topDown ? 1.0f : -1.0f, 1.0f);
    glTranslatef(dx, dy, 0.0f);
    glMultMatrixf(Projection().m);
    glMatrixMode(GL_MODELVIEW);
}

HRESULT D3dGlDevice::SetViewport(const D3DVIEWPORT8* viewport) {
    HRESULT hr = D3dDeviceBase::SetViewport(viewport);
    if (FAILED(hr)) return hr;
    ApplyViewport();
    return D3D_OK;
}

void D3dGlDevice::ApplyViewport() {
    const D3DVIEWPORT8& vp = Viewport();
    GLint y = m_topDown ? (GLint)vp.Y : (GLint)TargetHeight() - (GLint)(vp.Y + vp.Height);
    glViewport((GLint)vp.X, y, (GLsizei)vp.Width, (GLsizei)vp.Height);
    glDepthRange(vp.MinZ, vp.MaxZ);
    ApplyProjection();
}

// ---- render states ----

HRESULT D3dGlDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    HRESULT hr = D3dDeviceBase::SetRenderState(state, value);
    if (FAILED(hr)) return hr;
    ApplyRenderState(state);
    return D3D_OK;
}

void D3dGlDevice::ApplyRenderState(D3DRENDERSTATETYPE state) {
    auto enable = [](GLenum cap, bool on) { on ? glEnable(cap) : glDisable(cap); };
    DWORD v = RenderState(state);
    switch (state) {
        case D3DRS_ZENABLE: enable(GL_DEPTH_TEST, v != D3DZB_FALSE && DepthBound()); break;
        case D3DRS_ZWRITEENABLE: glDepthMask(v ? GL_TRUE : GL_FALSE); break;
        case D3DRS_ZFUNC: glDepthFunc(CmpToGl(v)); break;
        case D3DRS_ALPHATESTENABLE: enable(GL_ALPHA_TEST, v != 0); break;
        case D3DRS_ALPHAREF:
        case D3DRS_ALPHAFUNC:
            glAlphaFunc(CmpToGl(RenderState(D3DRS_ALPHAFUNC)),
                        (float)(RenderState(D3DRS_ALPHAREF) & 0xFF) / 255.0f);
            break;
        case D3DRS_ALPHABLENDENABLE: enable(GL_BLEND, v != 0); break;
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND: {
            DWORD src = RenderState(D3DRS_SRCBLEND), dst = RenderState(D3DRS_DESTBLEND);
            if (src == D3DBLEND_BOTHSRCALPHA) {
                src = D3DBLEND_SRCALPHA;
                dst = D3DBLEND_INVSRCALPHA;
            } else if (src == D3DBLEND_BOTHINVSRCALPHA) {
                src = D3DBLEND_INVSRCALPHA;
                dst = D3DBLEND_SRCALPHA;
            }
            glBlendFunc(BlendToGl(src), BlendToGl(dst));
            break;
        }
        case D3DRS_BLENDOP: Gl().BlendEquation(BlendOpToGl(v)); break;
        case D3DRS_CULLMODE:
            // Front faces are clockwise on screen, as in Direct3D; CCW removes the others. GL
            // judges facing before the upper-left origin flips y, where clockwise reads as
            // counter-clockwise.
            // Into a texture y is not negated, and the sense turns with it.
            glFrontFace(m_topDown ? GL_CW : GL_CCW);
            enable(GL_CULL_FACE, v == D3DCULL_CW || v == D3DCULL_CCW);
            glCullFace(v == D3DCULL_CW ? GL_FRONT : GL_BACK);
            break;
        case D3DRS_FILLMODE:
            glPolygonMode(GL_FRONT_AND_BACK, v == D3DFILL_POINT       ? GL_POINT
                                             : v == D3DFILL_WIREFRAME ? GL_LINE
                                                                      : GL_FILL);
            break;
        case D3DRS_SHADEMODE: glShadeModel(v == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH); break;
        case D3DRS_LIGHTING: enable(GL_LIGHTING, v != 0); break;
        case D3DRS_AMBIENT: {
            float c[4];
            ArgbToFloats(v, c);
            glLightModelfv(GL_LIGHT_MODEL_AMBIENT, c);
            break;
        }
        case D3DRS_NORMALIZENORMALS: enable(GL_NORMALIZE, v != 0); break;
        case D3DRS_SPECULARENABLE: ApplyMaterial(); break;
        case D3DRS_LOCALVIEWER: ApplyLightModel(); break;
        case D3DRS_FOGENABLE:
        case D3DRS_FOGTABLEMODE:
        case D3DRS_FOGVERTEXMODE:
        case D3DRS_FOGSTART:
        case D3DRS_FOGEND:
        case D3DRS_FOGDENSITY:
        case D3DRS_FOGCOLOR: ApplyFog(); break;
        case D3DRS_TEXTUREFACTOR: {
            // Direct3D has one factor; GL keeps one per unit: write them all.
            float c[4];
            ArgbToFloats(v, c);
            for (GLint u = 0; u < m_units; ++u) {
                Gl().ActiveTexture(GL_TEXTURE0 + (GLenum)u);
                glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, c);
            }
            Gl().ActiveTexture(GL_TEXTURE0);
            break;
        }
        case D3DRS_ZBIAS:
            // Direct3D's bias 0..16 pulls geometry towards the eye.
            enable(GL_POLYGON_OFFSET_FILL, v != 0);
            glPolygonOffset(0.0f, -(float)v);
            break;
        case D3DRS_DITHERENABLE: enable(GL_DITHER, v != 0); break;
        case D3DRS_COLORWRITEENABLE:
            glColorMask((v & 1) != 0, (v & 2) != 0, (v & 4) != 0, (v & 8) != 0);
            break;
        default: break; // kept only: no GL counterpart, or read at each draw
    }
}

// Table fog on eye depth; a vertex fog mode alone also fogs, per pixel.
void D3dGlDevice::ApplyFog() {
    DWORD table = RenderState(D3DRS_FOGTABLEMODE), vertex = RenderState(D3DRS_FOGVERTEXMODE);
    DWORD mode = table != D3DFOG_NONE ? table : vertex;
    if (!RenderState(D3DRS_FOGENABLE) || mode == D3DFOG_NONE) {
        glDisable(GL_FOG);
        return;
    }
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, mode == D3DFOG_EXP ? GL_EXP : mode == D3DFOG_EXP2 ? GL_EXP2 : GL_LINEAR);
    glFogi(GL_FOG_COORD_SRC, GL_FRAGMENT_DEPTH);
    glFogf(GL_FOG_START, D3dBitsFloat(RenderState(D3DRS_FOGSTART)));
    glFogf(GL_FOG_END, D3dBitsFloat(RenderState(D3DRS_FOGEND)));
    glFogf(GL_FOG_DENSITY, D3dBitsFloat(RenderState(D3DRS_FOGDENSITY)));
    float c[4];
    ArgbToFloats(RenderState(D3DRS_FOGCOLOR), c);
    glFogfv(GL_FOG_COLOR, c);
}

// ---- texture stages ----

HRESULT D3dGlDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    HRESULT hr = D3dDeviceBase::SetTexture(stage, texture);
    if (SUCCEEDED(hr)) m_stagesDirty = true;
    return hr;
}

HRESULT D3dGlDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    HRESULT hr = D3dDeviceBase::SetTextureStageState(stage, type, value);
    if (FAILED(hr)) return hr;
    switch (type) {
        case D3DTSS_MINFILTER:
        case D3DTSS_MAGFILTER:
        case D3DTSS_MIPFILTER:
        case D3DTSS_ADDRESSU:
        case D3DTSS_ADDRESSV:
        case D3DTSS_ADDRESSW:
        case D3DTSS_BORDERCOLOR:
        case D3DTSS_MIPMAPLODBIAS:
        case D3DTSS_MAXMIPLEVEL: ApplySampler(stage); break;
        default: m_stagesDirty = true; break;
    }
    return D3D_OK;
}

// Filters, addressing and LOD bias belong to the stage in Direct3D and to the texture in GL;
// a sampler object per unit keeps them with the stage.
void D3dGlDevice::ApplySampler(DWORD stage) {
    const D3dGlFuncs& gl = Gl();
    GLuint s = m_samplers[stage];
    bool minLinear = StageState(stage, D3DTSS_MINFILTER) >= D3DTEXF_LINEAR;
    bool magLinear = StageState(stage, D3DTSS_MAGFILTER) >= D3DTEXF_LINEAR;
    DWORD mip = StageState(stage, D3DTSS_MIPFILTER);
    GLenum min = mip == D3DTEXF_NONE ? (minLinear ? GL_LINEAR : GL_NEAREST)
                 : mip == D3DTEXF_POINT
                     ? (minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST)
                     : (minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR);
    gl.SamplerParameteri(s, GL_TEXTURE_MIN_FILTER, (GLint)min);
    gl.SamplerParameteri(s, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
    gl.SamplerParameteri(s, GL_TEXTURE_WRAP_S, (GLint)WrapToGl(StageState(stage, D3DTSS_ADDRESSU)));
    gl.SamplerParameteri(s, GL_TEXTURE_WRAP_T, (GLint)WrapToGl(StageState(stage, D3DTSS_ADDRESSV)));
    gl.SamplerParameteri(s, GL_TEXTURE_WRAP_R, (GLint)WrapToGl(StageState(stage, D3DTSS_ADDRESSW)));
    float border[4];
    ArgbToFloats(StageState(stage, D3DTSS_BORDERCOLOR), border);
    gl.SamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, border);
    gl.SamplerParameterf(s, GL_TEXTURE_LOD_BIAS,
                         D3dBitsFloat(StageState(stage, D3DTSS_MIPMAPLODBIAS)));
    gl.SamplerParameterf(s, GL_TEXTURE_MIN_LOD, (float)StageState(stage, D3DTSS_MAXMIPLEVEL));
}

// A stage whose colour op is DISABLE ends the cascade: it and every higher unit are off. A
// running stage without a texture samples the white texture, so TFACTOR and DIFFUSE stages
// see their arguments and not GL's "no texture" pass-through.
void D3dGlDevice::ApplyStages(DWORD fvf) {
    const D3dGlFuncs& gl = Gl();
    bool running = true;
    for (GLint u = 0; u < m_units; ++u) {
        DWORD stage = (DWORD)u;
        gl.ActiveTexture(GL_TEXTURE0 + (GLenum)u);
        DWORD colorOp = StageState(stage, D3DTSS_COLOROP);
        if (colorOp == D3DTOP_DISABLE) running = false;
        if (!running) {
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_TEXTURE_CUBE_MAP);
            continue;
        }
        GLenum target = GL_TEXTURE_2D;
        GLuint name = m_white;
        if (auto* t = dynamic_cast<D3dGlTexture*>(BoundTexture(stage))) {
            target = t->GlTarget();
            name = t->GlName();
        }
        glDisable(target == GL_TEXTURE_2D ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D);
        glEnable(target);
        glBindTexture(target, name);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        SetCombine(false, colorOp, StageState(stage, D3DTSS_COLORARG1),
                   StageState(stage, D3DTSS_COLORARG2));
        SetCombine(true, StageState(stage, D3DTSS_ALPHAOP), StageState(stage, D3DTSS_ALPHAARG1),
                   StageState(stage, D3DTSS_ALPHAARG2));
        ApplyTexCoords(stage, fvf);
    }
    gl.ActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_MODELVIEW);
    m_stagesDirty = false;
    m_stagesFvf = fvf;
}

void D3dGlDevice::ApplyAllStates() {
    const D3dGlFuncs& gl = Gl();
    // With the upper-left origin the rasteriser treats pixel centres that lie exactly on an
    // edge as Direct3D does (a top edge takes them, a bottom edge leaves them); with GL's
    // lower-left one a quad from row 20 to row 25 would cover rows 21 to 25.
    gl.ClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    glHint(GL_FOG_HINT, GL_NICEST);
    glDisable(GL_SCISSOR_TEST);
    static const D3DRENDERSTATETYPE mapped[] = {
        D3DRS_ZENABLE,   D3DRS_ZWRITEENABLE,     D3DRS_ZFUNC,           D3DRS_ALPHATESTENABLE,
        D3DRS_ALPHAFUNC, D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND,        D3DRS_BLENDOP,
        D3DRS_CULLMODE,  D3DRS_FILLMODE,         D3DRS_SHADEMODE,       D3DRS_LIGHTING,
        D3DRS_AMBIENT,   D3DRS_NORMALIZENORMALS, D3DRS_FOGENABLE,       D3DRS_TEXTUREFACTOR,
        D3DRS_ZBIAS,     D3DRS_DITHERENABLE,     D3DRS_COLORWRITEENABLE};
    for (D3DRENDERSTATETYPE s : mapped)
        ApplyRenderState(s);
    glStencilMask(RenderState(D3DRS_STENCILWRITEMASK));
    for (DWORD s = 0; s < D3D_MAX_TEXTURE_STAGES; ++s)
        ApplySampler(s);
    ApplyModelView();
    ApplyViewport();
    m_stagesDirty = true;
    ForgetGlLights();
    ApplyLightModel();
    glDisable(GL_COLOR_MATERIAL);
    m_colorMaterial = 0;
    ApplyMaterial();
}

void D3dGlDevice::PrepareDraw(DWORD fvf) {
    if (m_stagesDirty || fvf != m_stagesFvf) ApplyStages(fvf);
    ApplyColorMaterial(fvf);
    if (RenderState(D3DRS_LIGHTING)) ApplyLights();
}

// ---- drawing ----

HRESULT D3dGlDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primCount, const void* vertices,
                                     UINT stride) {
    HRESULT hr = D3dDeviceBase::DrawPrimitiveUP(type, primCount, vertices, stride);
    if (FAILED(hr)) return hr;
    DrawSource source{static_cast<const uint8_t*>(vertices), stride, nullptr, 0,
                      VertexCount(type, primCount)};
    return DrawClient(type, source, 0, 0);
}

// The buffers are main memory (Buffers.h): a draw reads them as client arrays, the base vertex
// already applied as a pointer offset.
HRESULT D3dGlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primCount) {
    DrawSource source;
    HRESULT hr = ResolveDraw(type, startVertex, primCount, &source);
    return FAILED(hr) ? hr : DrawClient(type, source, 0, 0);
}

HRESULT D3dGlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                          UINT startIndex, UINT primCount) {
    DrawSource source;
    HRESULT hr = ResolveIndexedDraw(type, minIndex, numVertices, startIndex, primCount, &source);
    return FAILED(hr) ? hr : DrawClient(type, source, minIndex, numVertices);
}

// Pre-transformed (XYZRHW) vertices have no caller and are refused; a specular colour is
// stepped over, never read.
HRESULT D3dGlDevice::DrawClient(D3DPRIMITIVETYPE type, const DrawSource& source, UINT minIndex,
                                UINT numVertices) {
    const DWORD fvf = Fvf();
    if ((fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ) return D3DERR_NOTAVAILABLE;
    PrepareDraw(fvf);
    const D3dGlFuncs& gl = Gl();
    const uint8_t* p = source.vertices;
    const GLsizei s = (GLsizei)source.stride;
    size_t off = 12;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, s, p);
    if (fvf & D3DFVF_NORMAL) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, s, p + off);
        off += 12;
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
        glNormal3f(0.0f, 0.0f, 0.0f);
    }
    if (fvf & D3DFVF_PSIZE) off += 4;
    if (fvf & D3DFVF_DIFFUSE) {
        // An ARGB word is the bytes B, G, R, A in memory.
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, s, p + off);
        off += 4;
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (fvf & D3DFVF_SPECULAR) off += 4;
    UINT sets = std::min<UINT>((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT, 8);
    size_t setOffset[8] = {};
    GLint setSize[8] = {};
    for (UINT i = 0; i < sets; ++i) {
        static const GLint sizes[4] = {2, 3, 4, 1};
        setSize[i] = sizes[(fvf >> (16 + 2 * i)) & 3];
        setOffset[i] = off;
        off += (size_t)setSize[i] * 4;
    }
    for (GLint u = 0; u < m_units; ++u) {
        gl.ClientActiveTexture(GL_TEXTURE0 + (GLenum)u);
        DWORD index = StageState((DWORD)u, D3DTSS_TEXCOORDINDEX);
        UINT set = index & 0xFFFF;
        if (D3dTexCoordsGenerated(index)) {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            gl.MultiTexCoord4f(GL_TEXTURE0 + (GLenum)u, 0.0f, 0.0f, 0.0f, 1.0f);
        } else if (set < sets) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(setSize[set], GL_FLOAT, s, p + setOffset[set]);
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            gl.MultiTexCoord4f(GL_TEXTURE0 + (GLenum)u, 0.0f, 0.0f, 0.0f, 1.0f);
        }
    }
    gl.ClientActiveTexture(GL_TEXTURE0);
    if (source.indices)
        gl.DrawRangeElements(
            PrimitiveToGl(type), minIndex, minIndex + numVertices - 1, (GLsizei)source.count,
            source.indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, source.indices);
    else
        glDrawArrays(PrimitiveToGl(type), 0, (GLsizei)source.count);
    return D3D_OK;
}
