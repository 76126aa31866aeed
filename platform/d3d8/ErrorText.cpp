// Texts for the layer's result codes, in place of the D3DX error-string call.
#include "platform/d3d8/D3d8.h"

#include <cstdio>

static const char* KnownText(HRESULT hr) {
    switch (hr) {
        case D3D_OK: return "D3D_OK: no error";
        case E_FAIL: return "E_FAIL: the call failed";
        case E_NOTIMPL: return "E_NOTIMPL: not implemented";
        case E_INVALIDARG: return "E_INVALIDARG: an argument is not valid";
        case E_OUTOFMEMORY: return "E_OUTOFMEMORY: out of memory";
        case D3DERR_WRONGTEXTUREFORMAT: return "D3DERR_WRONGTEXTUREFORMAT: wrong texture format";
        case D3DERR_UNSUPPORTEDCOLOROPERATION:
            return "D3DERR_UNSUPPORTEDCOLOROPERATION: colour operation not supported";
        case D3DERR_UNSUPPORTEDCOLORARG:
            return "D3DERR_UNSUPPORTEDCOLORARG: colour argument not supported";
        case D3DERR_UNSUPPORTEDALPHAOPERATION:
            return "D3DERR_UNSUPPORTEDALPHAOPERATION: alpha operation not supported";
        case D3DERR_UNSUPPORTEDALPHAARG:
            return "D3DERR_UNSUPPORTEDALPHAARG: alpha argument not supported";
        case D3DERR_TOOMANYOPERATIONS: return "D3DERR_TOOMANYOPERATIONS: too many operations";
        case D3DERR_CONFLICTINGTEXTUREFILTER:
            return "D3DERR_CONFLICTINGTEXTUREFILTER: conflicting texture filters";
        case D3DERR_UNSUPPORTEDFACTORVALUE:
            return "D3DERR_UNSUPPORTEDFACTORVALUE: factor value not supported";
        case D3DERR_CONFLICTINGRENDERSTATE:
            return "D3DERR_CONFLICTINGRENDERSTATE: conflicting render states";
        case D3DERR_UNSUPPORTEDTEXTUREFILTER:
            return "D3DERR_UNSUPPORTEDTEXTUREFILTER: texture filter not supported";
        case D3DERR_DRIVERINTERNALERROR:
            return "D3DERR_DRIVERINTERNALERROR: internal error of the OpenGL driver";
        case D3DERR_NOTFOUND: return "D3DERR_NOTFOUND: not found";
        case D3DERR_MOREDATA: return "D3DERR_MOREDATA: more data than the buffer holds";
        case D3DERR_DEVICELOST: return "D3DERR_DEVICELOST: the device is lost";
        case D3DERR_DEVICENOTRESET: return "D3DERR_DEVICENOTRESET: the device needs a reset";
        case D3DERR_NOTAVAILABLE:
            return "D3DERR_NOTAVAILABLE: the device does not offer what was asked for";
        case D3DERR_INVALIDDEVICE: return "D3DERR_INVALIDDEVICE: invalid device";
        case D3DERR_INVALIDCALL: return "D3DERR_INVALIDCALL: invalid call or argument";
        case D3DERR_DRIVERINVALIDCALL:
            return "D3DERR_DRIVERINVALIDCALL: the OpenGL driver refused the call";
        case D3DERR_OUTOFVIDEOMEMORY: return "D3DERR_OUTOFVIDEOMEMORY: out of video memory";
        default: return nullptr;
    }
}

void D3dErrorString(HRESULT hr, char* out, UINT outSize) {
    if (!out || outSize == 0) return;
    const char* text = KnownText(hr);
    if (text)
        std::snprintf(out, outSize, "%s", text);
    else
        std::snprintf(out, outSize, "Unknown error 0x%08X", (unsigned)hr);
}
