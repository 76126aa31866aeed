// Drawing a texture 1:1 and reading the render target back, for the pixel tests of textures on
// the layer's GL device. Header-only, so that test programs without the layer need not link it.
#pragma once

#include "datagen/Images/ImageWriters.h"
#include "platform/d3d8/Texture.h"
#include "platform/d3dx/Dxt.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

// Pixel-space projection (0, 0 at the top-left corner), texture stage 0 passing the texture's
// colour and alpha straight through, no lighting, culling or depth test.
inline void TexQuadSetup(IDirect3DDevice8* dev, int width, int height) {
    D3DMATRIX m{};
    m.m[0] = 2.0f / float(width);
    m.m[5] = -2.0f / float(height);
    m.m[10] = 1.0f;
    m.m[12] = -1.0f;
    m.m[13] = 1.0f;
    m.m[15] = 1.0f;
    dev->SetTransform(D3DTS_PROJECTION, &m);
    dev->SetRenderState(D3DRS_LIGHTING, 0);
    dev->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    dev->SetRenderState(D3DRS_ZENABLE, 0);
    dev->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    dev->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
    dev->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    dev->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    dev->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    dev->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    dev->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    dev->SetVertexShader(D3DFVF_XYZ | D3DFVF_TEX1);
}

// The whole texture over w x h pixels from (x, y). With Direct3D's pixel centres the quad's
// corners sit half a pixel outside, so texel centres land on pixel centres when w x h is the
// sampled level's size, even with linear filtering.
inline HRESULT TexQuadDraw(IDirect3DDevice8* dev, float x, float y, float w, float h) {
    struct V {
        float x, y, z, u, v;
    };
    float x0 = x - 0.5f, y0 = y - 0.5f, x1 = x + w - 0.5f, y1 = y + h - 0.5f;
    const V quad[4] = {
        {x0, y0, 0.5f, 0, 0}, {x1, y0, 0.5f, 1, 0}, {x1, y1, 0.5f, 1, 1}, {x0, y1, 0.5f, 0, 1}};
    return dev->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(V));
}

// The render target as ARGB words, row 0 at the top; empty when it cannot be read.
inline std::vector<uint32_t> TexQuadReadBack(IDirect3DDevice8* dev) {
    std::vector<uint32_t> out;
    IDirect3DSurface8* rt = nullptr;
    if (dev->GetRenderTarget(&rt) != D3D_OK) return out;
    D3DSURFACE_DESC d{};
    D3DLOCKED_RECT lr{};
    if (rt->GetDesc(&d) == D3D_OK && rt->LockRect(&lr, nullptr, D3DLOCK_READONLY) == D3D_OK) {
        out.resize(size_t(d.Width) * d.Height);
        for (UINT y = 0; y < d.Height; ++y)
            std::memcpy(out.data() + size_t(y) * d.Width,
                        static_cast<const uint8_t*>(lr.pBits) + size_t(y) * lr.Pitch,
                        size_t(d.Width) * 4);
        rt->UnlockRect();
    }
    rt->Release();
    return out;
}

// Level `level` of a texture, read back from GL, against what the DXT blocks `level` of `kind`
// decode to: equal within `tolerance` per byte (interpolated DXT colours may differ by a step or
// two between decoders, endpoints not at all).
inline ::testing::AssertionResult TexLevelMatchesDxt(IDirect3DBaseTexture8* texture, UINT face,
                                                     UINT level, GenDds kind,
                                                     const GenImage& source, int tolerance = 2) {
    const int pixels = kind == GenDds::Dxt1 ? 1 : 5; // DDS_DXT1, DDS_DXT5
    std::vector<uint8_t> blocks = GenDxtEncodeLevel(kind, source);
    std::vector<uint8_t> want(size_t(source.width) * source.height * 4);
    DxtDecodeLevel(pixels, source.width, source.height, blocks.data(), want.data(),
                   size_t(source.width) * 4);
    std::vector<uint8_t> got;
    if (!D3dTestReadTextureLevel(texture, face, level, &got))
        return ::testing::AssertionFailure() << "level " << level << " cannot be read from GL";
    if (got.size() != want.size())
        return ::testing::AssertionFailure() << "level " << level << " has the wrong size";
    for (size_t k = 0; k < got.size(); ++k)
        if (std::abs(int(got[k]) - int(want[k])) > tolerance)
            return ::testing::AssertionFailure() << "level " << level << " byte " << k << ": "
                                                 << int(got[k]) << " for " << int(want[k]);
    return ::testing::AssertionSuccess();
}
