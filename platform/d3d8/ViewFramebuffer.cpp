// The editor's game view: the device draws the game into a framebuffer whose colour is a
// texture, and Present composes the window from that texture and the editor's own drawing
// before it shows it.
#include "platform/PlatLog.h"
#include "platform/d3d8/GlDevice.h"

void D3dGlDevice::BindScreen() {
    Gl().BindFramebuffer(GL_FRAMEBUFFER, ScreenFbo());
    glDrawBuffer(ScreenFbo() ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    glReadBuffer(ScreenFbo() ? GL_COLOR_ATTACHMENT0 : GL_BACK);
}

void D3dGlDevice::FreeViewFramebuffer() {
    const D3dGlFuncs& gl = Gl();
    if (m_viewFbo) gl.DeleteFramebuffers(1, &m_viewFbo);
    if (m_viewDepth) gl.DeleteRenderbuffers(1, &m_viewDepth);
    if (m_viewColor) glDeleteTextures(1, &m_viewColor);
    m_viewFbo = m_viewColor = m_viewDepth = 0;
    m_viewWidth = m_viewHeight = 0;
}

bool D3dGlDevice::SetViewFramebuffer(int width, int height) {
    const bool on = width > 0 && height > 0;
    if (on == (m_viewFbo != 0) && (!on || (width == m_viewWidth && height == m_viewHeight)))
        return true;
    FreeViewFramebuffer();
    if (!on) {
        BindTarget();
        return true;
    }
    const D3dGlFuncs& gl = Gl();
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxSize);
    if (width > maxSize || height > maxSize) {
        PlatLogf(PLAT_LOG_RENDER, "D3d8: a game view of %d x %d cannot be made\n", width, height);
        BindTarget();
        return false;
    }
    glGenTextures(1, &m_viewColor);
    glBindTexture(GL_TEXTURE_2D, m_viewColor);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    m_stagesDirty = true; // the active unit's texture was taken for this

    gl.GenFramebuffers(1, &m_viewFbo);
    gl.BindFramebuffer(GL_FRAMEBUFFER, m_viewFbo);
    gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_viewColor, 0);
    if (HasDepth()) {
        gl.GenRenderbuffers(1, &m_viewDepth);
        gl.BindRenderbuffer(GL_RENDERBUFFER, m_viewDepth);
        gl.RenderbufferStorage(GL_RENDERBUFFER,
                               DepthInternalFormat(PresentParams().AutoDepthStencilFormat), width,
                               height);
        gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
        gl.FramebufferRenderbuffer(GL_FRAMEBUFFER,
                                   HasStencil() ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                   GL_RENDERBUFFER, m_viewDepth);
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    if (gl.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        PlatLogf(PLAT_LOG_RENDER, "D3d8: the game view's framebuffer is incomplete\n");
        FreeViewFramebuffer();
        BindTarget();
        return false;
    }
    m_viewWidth = width;
    m_viewHeight = height;
    BindTarget();
    return true;
}

void D3dGlDevice::BeginForeignDraw() {
    const D3dGlFuncs& gl = Gl();
    gl.BindFramebuffer(GL_FRAMEBUFFER, m_fbo);
    glDrawBuffer(m_fbo ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    glReadBuffer(m_fbo ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    gl.ClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    // A sampler left bound would filter the renderer's textures as the game's last stage did
    // (mipmapped, on a texture with one level: nothing shows).
    for (GLint u = m_units - 1; u >= 0; --u) {
        gl.BindSampler((GLuint)u, 0);
        gl.ActiveTexture(GL_TEXTURE0 + (GLenum)u);
        gl.ClientActiveTexture(GL_TEXTURE0 + (GLenum)u);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_CUBE_MAP);
        for (GLenum gen : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
            glDisable(gen);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }
    glMatrixMode(GL_MODELVIEW);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    for (GLenum cap : {GL_FOG, GL_ALPHA_TEST, GL_LIGHTING, GL_DEPTH_TEST, GL_STENCIL_TEST,
                       GL_COLOR_SUM, GL_POLYGON_OFFSET_FILL, GL_SCISSOR_TEST})
        glDisable(cap);
    gl.BlendEquation(GL_FUNC_ADD);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    int w = 0, h = 0;
    if (m_context->Window()) {
        m_context->DrawableSize(&w, &h);
    } else {
        w = (int)PresentParams().BackBufferWidth;
        h = (int)PresentParams().BackBufferHeight;
    }
    glViewport(0, 0, w, h);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void D3dGlDevice::EndForeignDraw() {
    const D3dGlFuncs& gl = Gl();
    for (GLint u = 0; u < m_units; ++u)
        gl.BindSampler((GLuint)u, m_samplers[u]);
    gl.ActiveTexture(GL_TEXTURE0);
    gl.ClientActiveTexture(GL_TEXTURE0);
    BindTarget();
    ApplyAllStates();
}

uint32_t D3dGlDevice::ReadWindowPixel(int x, int y) {
    int w = 0, h = 0;
    if (m_context->Window()) {
        m_context->DrawableSize(&w, &h);
    } else {
        w = (int)PresentParams().BackBufferWidth;
        h = (int)PresentParams().BackBufferHeight;
    }
    if (x < 0 || y < 0 || x >= w || y >= h) return 0;
    const D3dGlFuncs& gl = Gl();
    GLint readFbo = 0, readBuffer = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFbo);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, m_fbo);
    glReadBuffer(m_fbo ? GL_COLOR_ATTACHMENT0 : GL_FRONT);
    uint32_t pixel = 0;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, h - 1 - y, 1, 1, GL_BGRA, GL_UNSIGNED_BYTE, &pixel);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, (GLuint)readFbo);
    glReadBuffer((GLenum)readBuffer);
    return pixel;
}

// ---- entry points ----

int D3dSetViewFramebuffer(IDirect3DDevice8* device, int width, int height) {
    auto* gl = dynamic_cast<D3dGlDevice*>(device);
    return gl && gl->SetViewFramebuffer(width, height) ? 1 : 0;
}

unsigned D3dViewTexture(IDirect3DDevice8* device) {
    auto* gl = dynamic_cast<D3dGlDevice*>(device);
    return gl ? gl->ViewTexture() : 0;
}

void D3dSetComposeHook(IDirect3DDevice8* device, D3dComposeHook hook, void* context) {
    if (auto* gl = dynamic_cast<D3dGlDevice*>(device)) gl->SetComposeHook(hook, context);
}

uint32_t D3dReadWindowPixel(IDirect3DDevice8* device, int x, int y) {
    auto* gl = dynamic_cast<D3dGlDevice*>(device);
    return gl ? gl->ReadWindowPixel(x, y) : 0;
}
