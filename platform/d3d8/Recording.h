// A recording implementation of the layer for call-level tests: an adapter object whose
// answers come from a configuration, and devices that log every call with its arguments, in
// order, and otherwise behave as the state-only device (no pixels). Buffer locks and unlocks
// are logged as "VbLock", "IbLock" (offset, size, flags), "VbUnlock" and "IbUnlock".
#pragma once

#include "platform/d3d8/D3d8.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

struct D3dCall {
    std::string name;
    // Scalar arguments in order: DWORDs as themselves, floats as their bits, a pointer as 1
    // when given and 0 when null.
    std::vector<uint64_t> args;
    // A copy of the structure a pointer argument named (matrix, viewport, material, present
    // parameters ...), empty when none.
    std::vector<uint8_t> data;

    template <class T>
    T DataAs() const {
        T out{};
        if (data.size() == sizeof(T)) std::memcpy(&out, data.data(), sizeof(T));
        return out;
    }
};

class D3dCallLog {
  public:
    const std::vector<D3dCall>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }
    void Add(D3dCall call) { m_calls.push_back(std::move(call)); }
    // Calls of that name; with `args`, only those whose first arguments equal them.
    int Count(const char* name, std::initializer_list<uint64_t> args = {}) const;
    // The calls of that name, in order.
    std::vector<D3dCall> Named(const char* name) const;
    // Index of the first call of that name with those first arguments at or after `from`;
    // -1 when none.
    int Find(const char* name, std::initializer_list<uint64_t> args = {}, int from = 0) const;

  private:
    std::vector<D3dCall> m_calls;
};

struct D3dRecordingConfig {
    D3DADAPTER_IDENTIFIER8 identifier = MakeIdentifier();
    D3DDISPLAYMODE displayMode = {1024, 768, 60, D3DFMT_X8R8G8B8};
    std::vector<D3DDISPLAYMODE> modes;
    // Depth formats CheckDeviceFormat and CheckDepthStencilMatch accept.
    std::vector<D3DFORMAT> depthFormats = {D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16};
    DWORD devCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    // CreateDevice fails this many times with `createError` before it succeeds.
    int createFailures = 0;
    HRESULT createError = D3DERR_NOTAVAILABLE;
    // Direct3DCreate8Recording answers null.
    bool failCreate = false;
    // CreateVertexBuffer and CreateIndexBuffer fail this many times (out of video memory).
    int bufferFailures = 0;
    // False: nothing is logged, for benchmarks of the callers' own costs.
    bool logCalls = true;

    static D3DADAPTER_IDENTIFIER8 MakeIdentifier();
};

// Sets the configuration the next recording adapter objects use, and empties the log.
void D3dRecordingSetup(const D3dRecordingConfig& config);
// The log shared by every recording adapter object and device.
D3dCallLog& D3dRecordingLog();
// An entry point of the layer's shape (see D3dCreateEntry) that makes a recording adapter.
IDirect3D8* Direct3DCreate8Recording(UINT sdkVersion);
