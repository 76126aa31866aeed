// The recording adapter and device (see Recording.h).
#include "platform/d3d8/Recording.h"

#include "platform/d3d8/DeviceBase.h"

#include <cstdio>

// ---- the log ----

static bool ArgsMatch(const D3dCall& c, std::initializer_list<uint64_t> args) {
    if (c.args.size() < args.size()) return false;
    size_t i = 0;
    for (uint64_t a : args)
        if (c.args[i++] != a) return false;
    return true;
}

int D3dCallLog::Count(const char* name, std::initializer_list<uint64_t> args) const {
    int n = 0;
    for (const D3dCall& c : m_calls)
        if (c.name == name && ArgsMatch(c, args)) ++n;
    return n;
}

std::vector<D3dCall> D3dCallLog::Named(const char* name) const {
    std::vector<D3dCall> out;
    for (const D3dCall& c : m_calls)
        if (c.name == name) out.push_back(c);
    return out;
}

int D3dCallLog::Find(const char* name, std::initializer_list<uint64_t> args, int from) const {
    for (size_t i = from < 0 ? 0 : (size_t)from; i < m_calls.size(); ++i)
        if (m_calls[i].name == name && ArgsMatch(m_calls[i], args)) return (int)i;
    return -1;
}

static D3dRecordingConfig s_config;
static D3dCallLog s_log;

D3DADAPTER_IDENTIFIER8 D3dRecordingConfig::MakeIdentifier() {
    D3DADAPTER_IDENTIFIER8 id{};
    std::snprintf(id.Description, sizeof id.Description, "%s", "Recording adapter");
    std::snprintf(id.Driver, sizeof id.Driver, "%s", "recorder");
    return id;
}

void D3dRecordingSetup(const D3dRecordingConfig& config) {
    s_config = config;
    s_log.Clear();
}

D3dCallLog& D3dRecordingLog() {
    return s_log;
}

template <class T>
static std::vector<uint8_t> Bytes(const T* p) {
    if (!p) return {};
    const uint8_t* b = reinterpret_cast<const uint8_t*>(p);
    return std::vector<uint8_t>(b, b + sizeof(T));
}

static uint64_t Ptr(const void* p) {
    return p ? 1 : 0;
}

static void Log(const char* name, std::initializer_list<uint64_t> args,
                std::vector<uint8_t> data = {}) {
    if (s_config.logCalls) s_log.Add(D3dCall{name, std::vector<uint64_t>(args), std::move(data)});
}

// ---- the device ----

namespace {

class RecordingDevice final : public D3dDeviceBase {
  public:
    using D3dDeviceBase::D3dDeviceBase;

    HRESULT TestCooperativeLevel() override {
        Log("TestCooperativeLevel", {});
        return D3dDeviceBase::TestCooperativeLevel();
    }
    HRESULT Reset(D3DPRESENT_PARAMETERS* p) override {
        Log("Reset", {Ptr(p)}, Bytes(p));
        return D3dDeviceBase::Reset(p);
    }
    HRESULT Present(const RECT* s, const RECT* d, HWND w, const void* r) override {
        Log("Present", {Ptr(s), Ptr(d), Ptr(w), Ptr(r)}, Bytes(s));
        return D3dDeviceBase::Present(s, d, w, r);
    }
    HRESULT GetBackBuffer(UINT i, D3DBACKBUFFER_TYPE t, IDirect3DSurface8** s) override {
        Log("GetBackBuffer", {i, t});
        return D3dDeviceBase::GetBackBuffer(i, t, s);
    }
    HRESULT CreateTexture(UINT w, UINT h, UINT l, DWORD u, D3DFORMAT f, D3DPOOL p,
                          IDirect3DTexture8** t) override {
        Log("CreateTexture", {w, h, l, u, f, p});
        return D3dDeviceBase::CreateTexture(w, h, l, u, f, p, t);
    }
    HRESULT CreateCubeTexture(UINT e, UINT l, DWORD u, D3DFORMAT f, D3DPOOL p,
                              IDirect3DCubeTexture8** t) override {
        Log("CreateCubeTexture", {e, l, u, f, p});
        return D3dDeviceBase::CreateCubeTexture(e, l, u, f, p, t);
    }
    HRESULT CreateVertexBuffer(UINT n, DWORD u, DWORD fvf, D3DPOOL p,
                               IDirect3DVertexBuffer8** b) override {
        Log("CreateVertexBuffer", {n, u, fvf, p});
        if (FailBuffer(b)) return D3DERR_OUTOFVIDEOMEMORY;
        return D3dDeviceBase::CreateVertexBuffer(n, u, fvf, p, b);
    }
    HRESULT CreateIndexBuffer(UINT n, DWORD u, D3DFORMAT f, D3DPOOL p,
                              IDirect3DIndexBuffer8** b) override {
        Log("CreateIndexBuffer", {n, u, f, p});
        if (FailBuffer(b)) return D3DERR_OUTOFVIDEOMEMORY;
        return D3dDeviceBase::CreateIndexBuffer(n, u, f, p, b);
    }
    void NoteBufferLock(bool index, UINT offset, UINT size, DWORD flags) override {
        Log(index ? "IbLock" : "VbLock", {offset, size, flags});
    }
    void NoteBufferUnlock(bool index) override { Log(index ? "IbUnlock" : "VbUnlock", {}); }
    HRESULT CreateDepthStencilSurface(UINT w, UINT h, D3DFORMAT f, D3DMULTISAMPLE_TYPE m,
                                      IDirect3DSurface8** s) override {
        Log("CreateDepthStencilSurface", {w, h, f, m});
        return D3dDeviceBase::CreateDepthStencilSurface(w, h, f, m, s);
    }
    HRESULT SetRenderTarget(IDirect3DSurface8* t, IDirect3DSurface8* d) override {
        Log("SetRenderTarget", {Ptr(t), Ptr(d)});
        return D3dDeviceBase::SetRenderTarget(t, d);
    }
    HRESULT GetRenderTarget(IDirect3DSurface8** t) override {
        Log("GetRenderTarget", {});
        return D3dDeviceBase::GetRenderTarget(t);
    }
    HRESULT GetDepthStencilSurface(IDirect3DSurface8** d) override {
        Log("GetDepthStencilSurface", {});
        return D3dDeviceBase::GetDepthStencilSurface(d);
    }
    HRESULT BeginScene() override {
        Log("BeginScene", {});
        return D3dDeviceBase::BeginScene();
    }
    HRESULT EndScene() override {
        Log("EndScene", {});
        return D3dDeviceBase::EndScene();
    }
    HRESULT Clear(DWORD n, const D3DRECT* r, DWORD f, D3DCOLOR c, float z, DWORD s) override {
        Log("Clear", {n, Ptr(r), f, c, D3dFloatBits(z), s});
        return D3dDeviceBase::Clear(n, r, f, c, z, s);
    }
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE t, const D3DMATRIX* m) override {
        Log("SetTransform", {t}, Bytes(m));
        return D3dDeviceBase::SetTransform(t, m);
    }
    HRESULT SetViewport(const D3DVIEWPORT8* v) override {
        Log("SetViewport", {}, Bytes(v));
        return D3dDeviceBase::SetViewport(v);
    }
    HRESULT SetMaterial(const D3DMATERIAL8* m) override {
        Log("SetMaterial", {}, Bytes(m));
        return D3dDeviceBase::SetMaterial(m);
    }
    HRESULT SetLight(DWORD i, const D3DLIGHT8* l) override {
        Log("SetLight", {i}, Bytes(l));
        return D3dDeviceBase::SetLight(i, l);
    }
    HRESULT LightEnable(DWORD i, BOOL on) override {
        Log("LightEnable", {i, (uint64_t)(uint32_t)on});
        return D3dDeviceBase::LightEnable(i, on);
    }
    HRESULT SetRenderState(D3DRENDERSTATETYPE s, DWORD v) override {
        Log("SetRenderState", {s, v});
        return D3dDeviceBase::SetRenderState(s, v);
    }
    HRESULT SetTexture(DWORD s, IDirect3DBaseTexture8* t) override {
        Log("SetTexture", {s, Ptr(t)});
        return D3dDeviceBase::SetTexture(s, t);
    }
    HRESULT SetTextureStageState(DWORD s, D3DTEXTURESTAGESTATETYPE t, DWORD v) override {
        Log("SetTextureStageState", {s, t, v});
        return D3dDeviceBase::SetTextureStageState(s, t, v);
    }
    HRESULT ValidateDevice(DWORD* p) override {
        Log("ValidateDevice", {});
        return D3dDeviceBase::ValidateDevice(p);
    }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE t, UINT s, UINT n) override {
        Log("DrawPrimitive", {t, s, n});
        return D3dDeviceBase::DrawPrimitive(t, s, n);
    }
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE t, UINT mi, UINT nv, UINT si, UINT n) override {
        Log("DrawIndexedPrimitive", {t, mi, nv, si, n});
        return D3dDeviceBase::DrawIndexedPrimitive(t, mi, nv, si, n);
    }
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE t, UINT n, const void* v, UINT stride) override {
        Log("DrawPrimitiveUP", {t, n, Ptr(v), stride});
        return D3dDeviceBase::DrawPrimitiveUP(t, n, v, stride);
    }
    HRESULT SetVertexShader(DWORD fvf) override {
        Log("SetVertexShader", {fvf});
        return D3dDeviceBase::SetVertexShader(fvf);
    }
    HRESULT SetStreamSource(UINT n, IDirect3DVertexBuffer8* b, UINT stride) override {
        Log("SetStreamSource", {n, Ptr(b), stride});
        return D3dDeviceBase::SetStreamSource(n, b, stride);
    }
    HRESULT SetIndices(IDirect3DIndexBuffer8* b, UINT base) override {
        Log("SetIndices", {Ptr(b), base});
        return D3dDeviceBase::SetIndices(b, base);
    }

  private:
    ~RecordingDevice() override = default;
    template <class T>
    static bool FailBuffer(T** out) {
        if (s_config.bufferFailures <= 0) return false;
        --s_config.bufferFailures;
        if (out) *out = nullptr;
        return true;
    }
};

// ---- the adapter object ----

class RecordingD3d final : public D3dRefCounted<IDirect3D8> {
  public:
    UINT GetAdapterCount() override { return 1; }
    HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER8* id) override {
        Log("GetAdapterIdentifier", {adapter, flags});
        if (adapter != 0 || !id) return D3DERR_INVALIDCALL;
        *id = s_config.identifier;
        return D3D_OK;
    }
    UINT GetAdapterModeCount(UINT adapter) override {
        return adapter == 0 ? (UINT)s_config.modes.size() : 0;
    }
    HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) override {
        if (adapter != 0 || mode >= s_config.modes.size() || !out) return D3DERR_INVALIDCALL;
        *out = s_config.modes[mode];
        return D3D_OK;
    }
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
        Log("GetAdapterDisplayMode", {adapter});
        if (adapter != 0 || !mode) return D3DERR_INVALIDCALL;
        *mode = s_config.displayMode;
        return D3D_OK;
    }
    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                              D3DRESOURCETYPE rtype, D3DFORMAT format) override {
        Log("CheckDeviceFormat", {adapter, type, adapterFormat, usage, rtype, format});
        if (adapter != 0) return D3DERR_INVALIDCALL;
        if (usage & D3DUSAGE_DEPTHSTENCIL) return Offered(format);
        return D3D_OK;
    }
    HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                   D3DFORMAT targetFormat, D3DFORMAT depth) override {
        Log("CheckDepthStencilMatch", {adapter, type, adapterFormat, targetFormat, depth});
        if (adapter != 0) return D3DERR_INVALIDCALL;
        return Offered(depth);
    }
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) override {
        if (adapter != 0 || !caps) return D3DERR_INVALIDCALL;
        *caps = {};
        caps->DeviceType = type;
        caps->DevCaps = s_config.devCaps;
        caps->MaxTextureWidth = caps->MaxTextureHeight = 4096;
        caps->MaxTextureBlendStages = caps->MaxSimultaneousTextures = 8;
        caps->MaxActiveLights = 8;
        caps->MaxStreams = 1;
        caps->MaxPrimitiveCount = caps->MaxVertexIndex = 0xFFFFF;
        return D3D_OK;
    }
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD behavior,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice8** device) override {
        Log("CreateDevice", {adapter, type, Ptr(focus), behavior}, Bytes(params));
        if (!device || !params || adapter != 0) return D3DERR_INVALIDCALL;
        *device = nullptr;
        if (s_config.createFailures > 0) {
            --s_config.createFailures;
            return s_config.createError;
        }
        if (params->EnableAutoDepthStencil && FAILED(Offered(params->AutoDepthStencilFormat)))
            return D3DERR_INVALIDCALL;
        *device = new RecordingDevice(this, *params, behavior);
        return D3D_OK;
    }

  private:
    ~RecordingD3d() override = default;
    static HRESULT Offered(D3DFORMAT f) {
        for (D3DFORMAT d : s_config.depthFormats)
            if (d == f) return D3D_OK;
        return D3DERR_NOTAVAILABLE;
    }
};

} // namespace

IDirect3D8* Direct3DCreate8Recording(UINT sdkVersion) {
    Log("Direct3DCreate8", {sdkVersion});
    if (s_config.failCreate || sdkVersion != D3D_SDK_VERSION) return nullptr;
    return new RecordingD3d();
}
