// The device of the layer over OpenGL's compatibility profile (Device.cpp and its Device*.cpp
// siblings): Direct3D 8's conventions emulated on GL's fixed-function pipeline, so the kernel
// needs no edits.
#pragma once

#include "platform/d3d8/DeviceBase.h"
#include "platform/d3d8/GlContext.h"

#include <memory>
#include <string>

// A stage whose coordinates GL generates (the camera-space normal or reflection vector) reads
// no set.
inline bool D3dTexCoordsGenerated(DWORD texCoordIndex) {
    const DWORD how = texCoordIndex & 0xFFFF0000u;
    return how == D3DTSS_TCI_CAMERASPACENORMAL || how == D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR;
}

// An ARGB word as GL's red, green, blue and alpha in 0..1.
inline void D3dArgbToFloats(DWORD c, float out[4]) {
    out[0] = (float)((c >> 16) & 0xFF) / 255.0f;
    out[1] = (float)((c >> 8) & 0xFF) / 255.0f;
    out[2] = (float)(c & 0xFF) / 255.0f;
    out[3] = (float)(c >> 24) / 255.0f;
}

// The GL texture matrix of a stage's Direct3D one. Direct3D pads a two-coordinate set as
// (u, v, 1) and takes its translation from the third row; GL pads (s, t, 0, 1) and takes it
// from the fourth, so `twoCoords` moves the third row there. Without PROJECTED Direct3D divides
// nothing: GL's q is held at 1.
Mat4 D3dGlTextureMatrix(const Mat4& d3d, DWORD flags, bool twoCoords);

class D3dGlDevice final : public D3dDeviceBase {
  public:
    // Takes the context (current) and builds the back buffer and the GL state; null with
    // `error` set when the back buffer cannot be made.
    static D3dGlDevice* Create(IDirect3D8* d3d, std::unique_ptr<D3dGlContext> context,
                               const D3DPRESENT_PARAMETERS& params, DWORD behaviorFlags,
                               std::string* error);
    // The renderbuffer format of a depth format; 0 for one GL cannot make.
    static GLenum DepthInternalFormat(D3DFORMAT format);

    HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND destWindow,
                    const void* dirtyRegion) override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT8* viewport) override;
    HRESULT SetMaterial(const D3DMATERIAL8* material) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                 UINT startIndex, UINT primCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primCount, const void* vertices,
                            UINT stride) override;

    HRESULT SetRenderTarget(IDirect3DSurface8* target, IDirect3DSurface8* depth) override;
    bool MakeDepthStorage(D3dDepthSurface* surface) override;
    void FreeDepthStorage(D3dDepthSurface* surface) override;

    void BackBufferSize(UINT* width, UINT* height) override;
    void ReadBackBuffer(const RECT& rect, uint8_t* out, int32_t pitch) override;

    // ---- the editor's game view (ViewFramebuffer.cpp) ----
    // While on, the device draws into a framebuffer of width x height whose colour is a
    // texture, as if it were the back buffer; 0 x 0 turns it off. False (logged, off) when GL
    // cannot make it.
    bool SetViewFramebuffer(int width, int height);
    GLuint ViewTexture() const { return m_viewColor; }
    void SetComposeHook(D3dComposeHook hook, void* context) {
        m_composeHook = hook;
        m_composeContext = context;
    }
    uint32_t ReadWindowPixel(int x, int y);

    const D3dGlFuncs& Gl() const { return m_context->Gl(); }
    // The light index each GL light shows since the last draw, -1 for an unused GL light.
    int GlLightIndex(int glLight) const;
    int GlLightCount() const { return m_maxLights; }

  private:
    D3dGlDevice(IDirect3D8* d3d, std::unique_ptr<D3dGlContext> context,
                const D3DPRESENT_PARAMETERS& params, DWORD behaviorFlags);
    ~D3dGlDevice() override;

    HRESULT OnReset(const D3DPRESENT_PARAMETERS& params) override;
    bool MakeBackBuffer(const D3DPRESENT_PARAMETERS& params, std::string* error);
    void FreeBackBuffer();
    // Sends every kept state to GL: at creation and after each reset, so GL's own defaults
    // (ambient 0.2, a black texture-environment colour) never show through.
    void ApplyAllStates();
    // Before a renderer of its own draws into the window (the compose step): the window's
    // framebuffer bound, GL's lower-left origin, samplers unbound, units 1-7 off, unit 0 active
    // with MODULATE, no client arrays, no fixed-function extras. After it, everything is sent
    // again and the game's target bound.
    void BeginForeignDraw();
    void EndForeignDraw();
    void FreeViewFramebuffer();
    // The framebuffer the device draws into when no texture is the target.
    GLuint ScreenFbo() const { return m_viewFbo ? m_viewFbo : m_fbo; }
    void BindScreen();
    void ApplyRenderState(D3DRENDERSTATETYPE state);
    void ApplyFog();
    void ApplyModelView();
    void ApplyProjection();
    void ApplyViewport();
    void ApplySampler(DWORD stage);
    // Texture units follow the stage states, texture matrices and coordinate generation; done
    // before a draw when something changed, the vertex format included.
    void ApplyStages(DWORD fvf);
    void ApplyTexCoords(DWORD stage, DWORD fvf);
    // What every draw needs current: stages, colour material and the lights chosen for it.
    void PrepareDraw(DWORD fvf);

    // ---- lights and material (DeviceLights.cpp) ----
    void ApplyMaterial();
    void ApplyLightModel();
    void ApplyColorMaterial(DWORD fvf);
    // Chooses the lights for a draw at the world matrix's origin and gives GL those it does
    // not show yet.
    void ApplyLights();
    // Gives GL light `glLight` its D3D light, transformed by the view as Direct3D's world-space
    // lights are.
    void SpecifyGlLight(int glLight);
    void RespecifyGlLights();
    void ForgetGlLights();
    // Draws vertices in main memory through client arrays in the current vertex format; with
    // indices, over the vertices minIndex .. minIndex + numVertices - 1.
    HRESULT DrawClient(D3DPRIMITIVETYPE type, const DrawSource& source, UINT minIndex,
                       UINT numVertices);
    void RestoreWriteMasks();
    UINT TargetHeight();
    // Points GL at the render target the base holds: the back buffer, or a texture level
    // through the target framebuffer. False (logged) when GL finds the framebuffer incomplete.
    bool BindTarget();

    std::unique_ptr<D3dGlContext> m_context;
    GLuint m_fbo = 0;
    GLuint m_colorBuffer = 0;
    GLuint m_depthBuffer = 0;
    GLuint m_targetFbo = 0; // renders into textures; made at the first switch
    GLuint m_viewFbo = 0, m_viewColor = 0, m_viewDepth = 0;
    int m_viewWidth = 0, m_viewHeight = 0;
    D3dComposeHook m_composeHook = nullptr;
    void* m_composeContext = nullptr;
    // Rendering into a texture: Direct3D's row 0 is GL's row 0 there, so the picture is not
    // flipped as it is for the back buffer, where GL counts rows from the bottom.
    bool m_topDown = false;
    GLuint m_samplers[D3D_MAX_TEXTURE_STAGES] = {};
    GLuint m_white = 0; // 1 x 1 white, on every stage that runs without a texture
    GLint m_units = 0;  // fixed-function texture units, at most 8
    bool m_stagesDirty = true;
    DWORD m_stagesFvf = 0;
    GLint m_maxLights = 0;
    int m_glLight[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    GLenum m_colorMaterial = 0; // the tracked material colour, 0 when off
};
