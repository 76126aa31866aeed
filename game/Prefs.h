// The player's preferences: patron draw distance, camera edge scrolling and volumes. Read from
// and written to section "Prefs" of "config.ini" in the per-user save folder; every other
// section of that file (the engine's "Xq Config") is left as it is.
#pragma once

#include "game/RecordDb.h"

class Prefs : public Record<Prefs> {
  public:
    static constexpr const char* kTypeName = "Prefs";

    static void BuildDb(PropDb* db);

    Prefs() { InitFields(this); }

    // `folder` is the save folder, with or without its closing separator. A missing file, or
    // one that cannot be read, leaves the defaults; a value outside 0..1 (the edge-scroll zone:
    // below 0) is brought into range and one that is no number takes its default, each with a
    // log line. A file that cannot be written is left alone and Save answers false (the log
    // names the file).
    void Load(const char* folder);
    bool Save(const char* folder) const;

    float patronVisDist;
    float edgeScrollSpeed;  // camera edge-scroll speed = value x 200
    float edgeScrollRegion; // camera edge-scroll zone = value x 0.015
    float volMaster;
    float volMusic;
    float volSfx;
};
