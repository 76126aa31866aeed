// The installed operations of the attraction and patron-generator classes.
#include "game/MtGameLinks.h"

#include "engine/DebugLog.h"

static MtGameAttrLinks s_attr = {};
static MtGameRubeGenLinks s_rubeGen = {};

void MtGameSetAttrLinks(const MtGameAttrLinks* links) {
    s_attr = links ? *links : MtGameAttrLinks{};
}

void MtGameSetRubeGenLinks(const MtGameRubeGenLinks* links) {
    s_rubeGen = links ? *links : MtGameRubeGenLinks{};
}

bool MtGameHasAttrLinks() {
    return s_attr.startOfDay || s_attr.value;
}

bool MtGameHasRubeGenLinks() {
    return s_rubeGen.addExtra || s_rubeGen.spawnPosition || s_rubeGen.adjustDelay;
}

void MtGameAttrStartOfDay(ENTBASE* attraction) {
    if (s_attr.startOfDay) s_attr.startOfDay(attraction);
}

int MtGameAttrValue(ENTBASE* attraction) {
    return s_attr.value ? s_attr.value(attraction) : 0;
}

void MtGameRubeGenAddExtra(ENTBASE* generator, int extra) {
    if (s_rubeGen.addExtra)
        s_rubeGen.addExtra(generator, extra);
    else
        DbgPrintf(DBG_GENERAL, "MtGame: no patron generator class takes %i extra patrons\n", extra);
}

bool MtGameRubeGenSpawnPosition(ENTBASE* generator, VECTOR3* out) {
    return s_rubeGen.spawnPosition && s_rubeGen.spawnPosition(generator, out);
}

void MtGameRubeGenAdjustDelay(ENTBASE* generator, float amount) {
    if (s_rubeGen.adjustDelay) s_rubeGen.adjustDelay(generator, amount);
}
