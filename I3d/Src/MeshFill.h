// What the generated meshes share with the kernel's own shared meshes. For the render kernel's
// sources only.
#pragma once

#include "I3d/MeshBuf.h"

// Makes `mesh` the flat arrow of MeshMakeArrow (format 71, 7 vertices, 3 triangles). False, the
// mesh destroyed, when it cannot be made or filled.
bool I3dMeshFillArrow(MeshBuf* mesh);
