// The group sound: a sound entity that follows a crowd. Every "recalcTime" seconds it finds the
// entities of one type, centres itself on them, spreads its ranges over them and grows louder
// with their number.
#pragma once

#include "engine/EntRef.h"
#include "engine/WorldClass.h"
#include "world/EntSound.h"

class GroupSound : public EntSound {
  public:
    enum { MAX_FOUND = 200 }; // entities one search looks at

    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "GroupSound"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<GroupSound>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<GroupSound>::word = flags; }
    // The sound's Create, then this table's defaults (maxDist 100, minDist 1); 0.
    int Create(EntNode* node) override;
    // The sound's Start; without a search root the top of its tree becomes it. 0.
    int Start() override;
    // Counts down; when due, searches and moves position, range and gain; 1.
    int Update(float seconds) override;

    char searchClass[65] = {};
    float recalcTime = 1.0f;
    int32_t maxEnts = 100;
    EntRef searchRoot; // checked for life before each search
    float countdown = 0.0f;

  private:
    void Search();
};

// Class "GroupSound".
intptr_t EcGroupSoundProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
