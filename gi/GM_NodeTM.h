// A node's name and 4x3 transform (rows 0 to 2 the axes, row 3 the translation), embedded in
// the records that are placed in a scene.
#pragma once

#include "gi/GM_Object.h"
#include "gi/giMath.h"

class GM_NodeTM : public GM_Object {
  public:
    GM_NodeTM();

    int Write(GM_Stream* s) override;
    // Read by its owner: reads its own type id first, which must be 17.
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    // The 4x4 matrix, fourth column (0, 0, 0, 1).
    giMat44 GetMatrix() const;
    void SetMatrix(const giMat44& m);

    float tm[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}};
};
