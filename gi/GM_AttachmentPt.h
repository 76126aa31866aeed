// An attachment point record: a named transform with user-property text. The model file fills
// the run-time fields from that text (flags, and the point sets with their partners).
#pragma once

#include "gi/GM_NodeTM.h"

class GM_AttachmentPt : public GM_Object {
  public:
    static constexpr int kMaxSets = 5;

    GM_AttachmentPt();

    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    GM_NodeTM node;
    GM_String userData;

    // Run-time only, never written.
    uint32_t flags = 0;
    int32_t setCount = 0;
    int32_t setFirst[kMaxSets] = {-1, -1, -1, -1, -1};
    int32_t setSecond[kMaxSets] = {-1, -1, -1, -1, -1};
};
