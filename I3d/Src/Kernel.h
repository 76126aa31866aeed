// The kernel's own view of the device and of its kept products, for the render kernel's sources.
// What other libraries may use of it is published in I3d/Device.h, I3d/Buffers.h and I3d/Camera.h.
#pragma once

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/Device.h"
#include "platform/d3d8/D3d8.h"
