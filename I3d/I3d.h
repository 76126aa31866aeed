// The render kernel's topics in one include, for callers that use several.
#pragma once

#include "I3d/Buffers.h"
#include "I3d/Camera.h"
#include "I3d/DebugDraw.h"
#include "I3d/Device.h"
#include "I3d/Font.h"
#include "I3d/Frustum.h"
#include "I3d/Lights.h"
#include "I3d/Materials.h"
#include "I3d/MeshBuf.h"
#include "I3d/PassLists.h"
#include "I3d/Primitives.h"
#include "I3d/Shader.h"
#include "I3d/StateCache.h"
#include "I3d/Textures.h"
