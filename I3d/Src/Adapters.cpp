// The adapters' facts, read through the layer's adapter object; the depth answers keep the
// object open, so the facts can be asked after the reading is done.
#include "I3d/Adapters.h"

#include "platform/d3d8/D3d8.h"

#include <memory>

int I3dReadAdapters(std::vector<I3dAdapterFacts>* adapters) {
    IDirect3D8* made = Direct3DCreate8(120);
    if (!made || !adapters) {
        if (made) made->Release();
        return -1;
    }
    std::shared_ptr<IDirect3D8> d3d(made, [](IDirect3D8* p) { p->Release(); });
    adapters->clear();
    for (UINT a = 0; a < d3d->GetAdapterCount(); ++a) {
        I3dAdapterFacts info;
        D3DADAPTER_IDENTIFIER8 id{};
        if (d3d->GetAdapterIdentifier(a, 0, &id) == D3D_OK)
            info.line = std::string(id.Description) + " (" + id.Driver + ")";
        info.capsRead = d3d->GetDeviceCaps(a, D3DDEVTYPE_HAL, &info.caps) == D3D_OK;
        for (UINT m = 0; m < d3d->GetAdapterModeCount(a); ++m) {
            D3DDISPLAYMODE mode{};
            if (d3d->EnumAdapterModes(a, m, &mode) == D3D_OK) info.modes.push_back(mode);
        }
        info.acceptsDepth = [d3d, a](int display, int depth) {
            const D3DFORMAT df = (D3DFORMAT)display, zf = (D3DFORMAT)depth;
            return d3d->CheckDeviceFormat(a, D3DDEVTYPE_HAL, df, D3DUSAGE_DEPTHSTENCIL,
                                          D3DRTYPE_SURFACE, zf) == D3D_OK &&
                   d3d->CheckDepthStencilMatch(a, D3DDEVTYPE_HAL, df, df, zf) == D3D_OK;
        };
        adapters->push_back(std::move(info));
    }
    return 0;
}
