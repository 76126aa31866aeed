// The device's state over GL: Direct3D's transforms, viewport, render states and texture stages,
// each applied to GL when a draw needs it, the stages on GL's combiners.
#include "platform/d3d8/GlDevice.h"

#include "platform/d3d8/GlTexture.h"
#include "platform/d3d8/Texture.h"

#include <algorithm>

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
            D3dArgbToFloats(v, c);
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
            D3dArgbToFloats(v, c);
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
    D3dArgbToFloats(RenderState(D3DRS_FOGCOLOR), c);
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
    D3dArgbToFloats(StageState(stage, D3DTSS_BORDERCOLOR), border);
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
