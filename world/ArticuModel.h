// Articulated models: a static object whose model turns up to four named nodes at constant
// rates and scrolls the texture of one named material. Its values live in a value table.
#pragma once

#include "engine/WorldClass.h"
#include "world/StaticObject.h"

#include <cstdint>

struct MDL3NODE;
struct MDL3MTRL;
struct VarTable;

enum { ARTICU_NODES = 4, ARTICU_MATERIALS = 2, ARTICU_NAME_MAX = 32 };

struct ArticuNode {
    MDL3NODE* node; // null when the model has none of that name
    char name[ARTICU_NAME_MAX + 1];
    int32_t axis; // 0 x, 1 y, anything else z
    float rate;   // radians per second
    float angle;
};

struct ArticuMaterial {
    MDL3MTRL* material; // null when the model has none of that name
    char name[ARTICU_NAME_MAX + 1];
    float rateU, rateV; // per second
    float offsetU, offsetV;
};

class ArticuModel : public StaticObject {
  public:
    int CopyClassName(char* buffer) override;
    uint32_t GetClassFlags() override { return WorldClassFlags<ArticuModel>::word; }
    const char* GetTypeName() override { return "ArticuModel"; }
    // The value table's defaults, the static object's creation, then every record inert; 0.
    int Create(EntNode* node) override;
    // The static object's start, then the records' nodes and materials looked up; 0.
    int Start() override;
    // Angles and texture offsets grow by the step, without wrapping; 1.
    int Update(float seconds) override;
    // The MDL3 model with its nodes turned and its texture scrolled, no lights; 1.
    int DrawPre() override;
    void SetClassFlags(uint32_t value) override { WorldClassFlags<ArticuModel>::word = value; }

    int32_t nodeCount = ARTICU_NODES;
    ArticuNode nodes[ARTICU_NODES] = {};
    ArticuMaterial materials[ARTICU_MATERIALS] = {};
};

// The class's value table (null before registration and after the class is removed) and the
// texture matrix of each material record.
VarTable* ArticuModelVars();
const Mat4* ArticuModelTexMatrix(int record);

// Class "ArticuModel". ENT_CLASS_MSG_RESET also forgets the kept terrain; ENT_CLASS_MSG_UNREGISTER
// frees the table.
intptr_t EcArticuModelProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
