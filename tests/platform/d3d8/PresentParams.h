// Present parameters of a small windowed test device, as the layer's tests create it.
#pragma once

#include "platform/d3d8/D3d8Types.h"

inline D3DPRESENT_PARAMETERS TestPresentParams(UINT width, UINT height,
                                               DWORD flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER,
                                               D3DFORMAT depth = D3DFMT_D24S8) {
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = 1;
    pp.EnableAutoDepthStencil = 1;
    pp.AutoDepthStencilFormat = depth;
    pp.Flags = flags;
    return pp;
}

// The same without a depth buffer, for the texture tests' flat quads, in the given format.
inline D3DPRESENT_PARAMETERS TexTestPresentParams(UINT width, UINT height,
                                                  D3DFORMAT format = D3DFMT_X8R8G8B8) {
    D3DPRESENT_PARAMETERS pp = TestPresentParams(width, height);
    pp.BackBufferFormat = format;
    pp.EnableAutoDepthStencil = 0;
    pp.AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    return pp;
}
