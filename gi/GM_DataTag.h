// A data tag record (a named transform with a free block of bytes) and the generic group
// record (a named transform only).
#pragma once

#include "gi/GM_NodeTM.h"

#include <vector>

class GM_DataTag : public GM_Object {
  public:
    GM_DataTag();

    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    GM_NodeTM node;
    std::vector<uint8_t> data;
};

class GM_GenericGroup : public GM_Object {
  public:
    GM_GenericGroup();

    int Write(GM_Stream* s) override;
    int Read(GM_Stream* s) override;
    uint32_t ComputeSize() override;

    GM_NodeTM node;
};
