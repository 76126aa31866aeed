// The layer's adapters as a configuration reads them before any device exists: what each is
// called, what it can do, its display modes and which depth formats go with a display format.
#pragma once

#include "platform/d3d8/D3d8Types.h"

#include <functional>
#include <string>
#include <vector>

struct I3dAdapterFacts {
    std::string line; // "description (driver)"
    bool capsRead = false;
    D3DCAPS8 caps{};
    std::vector<D3DDISPLAYMODE> modes;
    // Whether a depth format goes with a display format, as a depth-stencil surface that matches.
    // It asks the layer, which stays open while any adapter's answer is kept.
    std::function<bool(int displayFormat, int depthFormat)> acceptsDepth;
};

// 0 with every adapter in *adapters, or -1 when the layer's adapter object cannot be had.
int I3dReadAdapters(std::vector<I3dAdapterFacts>* adapters);
