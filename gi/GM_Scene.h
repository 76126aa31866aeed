// The scene record: the source file's name, its frame range and timing, and two colours. The
// scene's own name is not written.
#pragma once

#include "gi/GM_Object.h"

class GM_Scene : public GM_Object {
  public:
    GM_Scene();

    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    // The packed colours as four floats, low byte first, each byte / 255.
    void Background(float out[4]) const;
    void Ambient(float out[4]) const;

    GM_String fileName;
    int32_t firstFrame = 0;
    int32_t lastFrame = 0;
    int32_t frameSpeed = 0;
    int32_t ticksPerFrame = 0;
    uint32_t background = 0;
    uint32_t ambient = 0;
};
