// The configuration dialog's settings schema and its ini form.
#include "tools/HwConfigData.h"

#include "engine/DebugLog.h"
#include "engine/PropDb.h"
#include "tools/HwConfig.h"

#include <cstddef>

namespace {

#define HW_AT(member) PROP_OFFSET(HwConfigData, member)

PropDb* BuildSchema() {
    static PropDb db;
    PropDbSetName(&db, "Xq Config");
    PropDbAddString(&db, "appName", HW_AT(appName), "Fairlark", 255, 0);
    PropDbAddString(&db, "bannerImage", HW_AT(bannerImage), "Data\\ConfigBanner.bmp", 260, 0);
    PropDbAddInt(&db, "deviceId", HW_AT(deviceId), 0, 0);
    PropDbAddInt(&db, "hRes", HW_AT(hRes), 1024, 0);
    PropDbAddInt(&db, "vRes", HW_AT(vRes), 768, 0);
    // "format", not "d3dFormat": it is the key the game reads its back-buffer format from, and
    // the game's reader names the key.
    PropDbAddInt(&db, "format", HW_AT(format), 22, 0);
    const struct {
        const char* key;
        intptr_t offset;
        int32_t def;
    } switches[] = {
        {"windowed", HW_AT(windowed), 0},
        {"lockVsync", HW_AT(lockVsync), 0},
        {"tripleBuffer", HW_AT(tripleBuffer), 0},
        {"debug", HW_AT(debug), 0},
        {"skipIntro", HW_AT(skipIntro), 0},
        {"runHwConfig", HW_AT(runHwConfig), 1},
        {"digDriverEnabled", HW_AT(digDriverEnabled), 1},
        {"dig3dEnabled", HW_AT(dig3dEnabled), 1},
        {"enableMP3Music", HW_AT(enableMP3Music), 1},
        {"forceSoftwareVP", HW_AT(forceSoftwareVP), 0},
        {"enableStencil", HW_AT(enableStencil), 1},
        {"drawTer", HW_AT(drawTer), 1},
        {"drawWater", HW_AT(drawWater), 1},
        {"drawGrass", HW_AT(drawGrass), 1},
        {"displayNone", HW_AT(displayNone), 0},
        {"displaySimple", HW_AT(displaySimple), 1},
        {"displayVerbose", HW_AT(displayVerbose), 0},
        {"quickStart", HW_AT(quickStart), 0},
        {"developer", HW_AT(developer), 0},
    };
    for (const auto& s : switches)
        PropDbAddSwitch(&db, s.key, s.offset, s.def, 0);
    PropDbAddInt(&db, "defaultDetail", HW_AT(defaultDetail), 1, 0);
    PropDbAddSwitch(&db, "detailOverride", HW_AT(detailOverride), 0, 0);
    PropDbAddSwitch(&db, "runWhileInactive", HW_AT(runWhileInactive), 0, 0);
    PropDbAddSwitch(&db, "lockableBackbuffer", HW_AT(lockableBackbuffer), 0, 0);
    return &db;
}

#undef HW_AT

} // namespace

const PropDb* HwConfigSchema() {
    static const PropDb* schema = BuildSchema();
    return schema;
}

void HwConfigDefaults(HwConfigData* data) {
    if (!data) return;
    *data = HwConfigData{};
    PropDbInitObject(HwConfigSchema(), data);
}

void HwConfigLoad(HwConfigData* data, const char* path) {
    if (!data) return;
    HwConfigDefaults(data);
    if (path && *path) VarDbLoadIni(HwConfigSchema(), data, path, HwConfigSectionName());
    data->detailOverride = 0;
}

bool HwConfigSave(const HwConfigData* data, const char* path) {
    if (!data || !path || !*path) return false;
    if (!VarDbSaveIni(HwConfigSchema(), data, path, HwConfigSectionName())) {
        DbgOut("HwConfig: the settings could not be written to %s\n", path);
        return false;
    }
    return true;
}
