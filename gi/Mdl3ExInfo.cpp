// Model-info files: the three record schemas and the reader of the ".ini" beside a model.
#include "gi/Mdl3ExInfo.h"

#include "engine/DebugLog.h"
#include "engine/IniFile.h"
#include "engine/PropDb.h"

#include <cmath>
#include <cstdio>
#include <limits>

// ---- schemas ----

static int s_schemaCount = 0;
static PropDb* s_model = nullptr;
static PropDb* s_node = nullptr;
static PropDb* s_light = nullptr;

void Mdl3ExSchemasAcquire() {
    if (s_schemaCount++ > 0) return;
    s_model = new PropDb();
    PropDbSetName(s_model, "Mdl3Ex");
    PropDbAddInt(s_model, "numNodes", PROP_OFFSET(Mdl3ExCounts, numNodes), 0, 0);
    PropDbAddInt(s_model, "numPointLights", PROP_OFFSET(Mdl3ExCounts, numPointLights), 0, 0);

    s_node = new PropDb();
    PropDbSetName(s_node, "Mdl3ExNode");
    PropDbAddStringBlank(s_node, "name", PROP_OFFSET(Mdl3ExNodeRec, name), 31, 0);
    PropDbAddInt(s_node, "numPointLights", PROP_OFFSET(Mdl3ExNodeRec, numPointLights), 0, 0);
    PropDbAddInt(s_node, "firstPointLight", PROP_OFFSET(Mdl3ExNodeRec, firstPointLight), 0, 0);

    s_light = new PropDb();
    PropDbSetName(s_light, "Mdl3ExPtLight");
    PropDbAddVector3Zero(s_light, "pos", PROP_OFFSET(Mdl3ExPtLight, pos), 0);
    PropDbAddColor4bWhite(s_light, "color", PROP_OFFSET(Mdl3ExPtLight, color), 0);
    PropDbAddFloat(s_light, "radius", PROP_OFFSET(Mdl3ExPtLight, radius), 1.0f, 0);
    PropDbAddInt(s_light, "flashMask", PROP_OFFSET(Mdl3ExPtLight, flashMask), (int)0xaaaaaaaau, 0);
}

void Mdl3ExSchemasRelease() {
    if (s_schemaCount <= 0 || --s_schemaCount > 0) return;
    delete s_model;
    delete s_node;
    delete s_light;
    s_model = s_node = s_light = nullptr;
}

PropDb* Mdl3ExSchema() {
    return s_model;
}
PropDb* Mdl3ExNodeSchema() {
    return s_node;
}
PropDb* Mdl3ExPtLightSchema() {
    return s_light;
}

// ---- reading ----

// Hand-edited counts must not size an allocation: a negative or huge one is held in range.
static int32_t Clamped(int32_t value, int32_t max, const char* what, const char* path) {
    if (value >= 0 && value <= max) return value;
    const int32_t held = value < 0 ? 0 : max;
    DbgPrintf(DBG_ENTITY, "Mdl3Ex: %s: %s %d outside 0..%d, %d used\n", path, what, value, max,
              held);
    return held;
}

int Mdl3ExInfoRead(const char* path, int attachCount, Mdl3ExInfo* out) {
    if (!out) return 0;
    *out = Mdl3ExInfo{};
    if (!path || !s_model || !s_light) return 0;
    const int opened = IniOpen(path);
    if (opened < 0) return 0;

    VarDbLoadIni(s_model, &out->counts, nullptr, "ModelInfo");
    out->counts.numNodes = Clamped(out->counts.numNodes, MDL3EX_MAX_NODES, "numNodes", path);
    out->counts.numPointLights =
        Clamped(out->counts.numPointLights, MDL3EX_MAX_LIGHTS, "numPointLights", path);
    out->nodes.assign((size_t)out->counts.numNodes, Mdl3ExNodeRec{});
    out->lights.resize((size_t)out->counts.numPointLights);
    char section[32];
    for (int32_t i = 0; i < out->counts.numPointLights; ++i) {
        std::snprintf(section, sizeof section, "PointLights%04i", (int)i);
        VarDbLoadIni(s_light, &out->lights[(size_t)i], nullptr, section);
    }

    if (attachCount > 0) {
        out->attachYaw.assign((size_t)attachCount, std::numeric_limits<float>::quiet_NaN());
        if (IniSetSection("ModelInfo") == 0) {
            char key[32], text[INI_VALUE_MAX + 1];
            for (int i = 0; i < attachCount; ++i) {
                std::snprintf(key, sizeof key, "attachYaw%02i", i);
                if (IniFindKey(key, text, sizeof text) != 0) continue;
                float yaw = 0.0f;
                IniReadFloat(&yaw, key, 0.0f);
                if (std::isfinite(yaw)) out->attachYaw[(size_t)i] = yaw;
            }
        }
    }
    if (opened == 0) IniClose();
    return 1;
}
