// What the kernel's buffer sources tell each other: a buffer being freed leaves every pointer
// that names it. For the render kernel's sources only.
#pragma once

#include "I3d/Buffers.h"

// The selection forgets the buffer if it is selected.
void I3dSelectionForget(const I3dVertexBuffer* vb);
void I3dSelectionForget(const I3dIndexBuffer* ib);
// The writer stops writing into the buffer if it is its target.
void I3dWriterForget(const I3dVertexBuffer* vb);
