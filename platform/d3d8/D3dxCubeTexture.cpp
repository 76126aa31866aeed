// Cube maps from DDS files, as D3DX loads them for the sky box and the environment map.
#include "platform/PlatFileRead.h"
#include "platform/d3d8/D3dx.h"
#include "platform/d3dx/DdsFile.h"

#include <vector>

D3DFORMAT D3dxDdsFormat(int ddsPixels) {
    switch (ddsPixels) {
        case DDS_DXT1: return D3DFMT_DXT1;
        case DDS_DXT2: return D3DFMT_DXT2;
        case DDS_DXT3: return D3DFMT_DXT3;
        case DDS_DXT4: return D3DFMT_DXT4;
        case DDS_DXT5: return D3DFMT_DXT5;
        case DDS_ARGB32: return D3DFMT_A8R8G8B8;
        case DDS_A8: return D3DFMT_A8;
        default: return D3DFMT_UNKNOWN;
    }
}

namespace {

HRESULT FillCube(IDirect3DCubeTexture8* cube, const DdsInfo& info, const uint8_t* pixels) {
    for (UINT face = 0; face < 6; ++face) {
        for (UINT i = 0; i < info.levels; ++i) {
            uint32_t w = DdsLevelSide(info.width, i), h = DdsLevelSide(info.height, i);
            D3DLOCKED_RECT lr;
            HRESULT hr = cube->LockRect(face, i, &lr, nullptr, 0);
            if (FAILED(hr)) return hr;
            DdsCopyLevel(info.pixels, w, h, pixels, static_cast<uint8_t*>(lr.pBits),
                         size_t(lr.Pitch));
            cube->UnlockRect(face, i);
            pixels += DdsLevelSize(info.pixels, w, h);
        }
    }
    return D3D_OK;
}

} // namespace

HRESULT D3DXCreateCubeTextureFromFileA(IDirect3DDevice8* device, const char* path,
                                       IDirect3DCubeTexture8** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (!device || !path) return D3DERR_INVALIDCALL;
    std::vector<uint8_t> file;
    if (PlatReadWholeFile(path, &file) != 1 || file.empty()) return D3DXERR_INVALIDDATA;
    const uint8_t* bytes = file.data();
    const size_t size = file.size();
    DdsInfo info;
    HRESULT hr = D3DXERR_INVALIDDATA;
    if (DdsParse(bytes, size, &info) == 0 && info.cube && info.faces == 6 &&
        info.width == info.height) {
        IDirect3DCubeTexture8* cube = nullptr;
        hr = device->CreateCubeTexture(info.width, info.levels, 0, D3dxDdsFormat(info.pixels),
                                       D3DPOOL_MANAGED, &cube);
        if (SUCCEEDED(hr)) hr = FillCube(cube, info, bytes + DDS_HEADER_BYTES);
        if (SUCCEEDED(hr))
            *texture = cube;
        else if (cube)
            cube->Release();
    }
    return hr;
}
