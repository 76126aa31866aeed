// The configuration dialog's settings: every key of the "Xq Config" section with its default,
// read from and written to the settings file through a property-database schema.
#pragma once

#include <cstdint>

class PropDb;

struct HwConfigData {
    char appName[256];
    char bannerImage[261];
    int32_t deviceId;
    int32_t hRes;
    int32_t vRes;
    int32_t format; // the Direct3D format code of the full-screen mode
    int32_t windowed;
    int32_t lockVsync;
    int32_t tripleBuffer;
    int32_t debug;
    int32_t skipIntro;
    int32_t runHwConfig;
    int32_t digDriverEnabled;
    int32_t dig3dEnabled;
    int32_t enableMP3Music;
    int32_t forceSoftwareVP;
    int32_t enableStencil;
    int32_t drawTer;
    int32_t drawWater;
    int32_t drawGrass;
    int32_t displayNone;
    int32_t displaySimple;
    int32_t displayVerbose;
    int32_t quickStart;
    int32_t developer;
    int32_t defaultDetail; // 0 low, 1 medium, 2 high
    int32_t detailOverride;
    int32_t runWhileInactive;
    int32_t lockableBackbuffer;
};

// The schema: the keys in the file's order. Switches are written "0" or "1", because the game
// reads this section as whole numbers.
const PropDb* HwConfigSchema();

// Every key at its default.
void HwConfigDefaults(HwConfigData* data);

// Reads every key of "Xq Config" from `path` (a missing key keeps its default), then clears
// detailOverride: it is set only when the player picks a detail level in this run.
void HwConfigLoad(HwConfigData* data, const char* path);

// Writes every key into "Xq Config" of `path`, key by key, so the file's other keys stay. False
// (with a log line naming the file) when it cannot be written.
bool HwConfigSave(const HwConfigData* data, const char* path);
