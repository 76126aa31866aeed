// What a camera entity fills for the viewport that draws through it (GetCamera,
// ENT_MSG_GET_CAMERA).
#pragma once

#include "I3d/Math/MathTypes.h"

#include <cstdint>

struct CameraDesc {
    float fov;     // vertical field of view, radians
    Mat4 view;     // row vectors, as the device uses them
    VECTOR3 eye;   // world position of the eye
    int32_t valid; // the camera sets it to 1
};
