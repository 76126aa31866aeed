// The music entity: its streams, the cross-fade and the functions that find it by name.
#include "world/EcMusic.h"

#include "engine/PropDb.h"
#include "engine/Sound/SndStream.h"
#include "engine/System.h"
#include "engine/WorldClass.h"

#include <strings.h>

#include <string>

// ---- class ----

namespace {
PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDb* db = &s_db;
        PropDbSetName(db, "Music");
        PropDbAddSeparator(db, "General:");
        PropDbAddStringBlank(db, "name", PROP_OFFSET(EcMusic, name), 32);
        PropDbAddStringBlank(db, "songFile", PROP_OFFSET(EcMusic, songFile), 32);
        PropDbAddFloat(db, "volume", PROP_OFFSET(EcMusic, volume), 1.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Music", Db, WorldMake<EcMusic>, WorldClassFlags<EcMusic>::Reset};

EcMusic* FindMusic(ENTBASE* root) {
    ENTBASE* found = EntTreeFindName(root, "Music");
    // Another kind of entity may carry the name.
    return found && EntIsType(found, "Music") ? static_cast<EcMusic*>(found) : nullptr;
}
} // namespace

intptr_t EcMusicProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int EcMusic::CopyClassName(char* buffer) {
    return WorldCopyClassName("Music", buffer);
}

// ---- life ----

int EcMusic::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    return 1;
}

int EcMusic::Start() {
    Ent3dBase::Start();
    VarsChanged();
    return 1;
}

void EcMusic::Free(SndStream** stream) {
    if (!*stream) return;
    SndStreamStop(*stream);
    delete *stream;
    *stream = nullptr;
}

int EcMusic::Destroy() {
    Free(&previous);
    Free(&current);
    return ENTBASE::Destroy();
}

// ---- songs ----

void EcMusic::Play(const char* song) {
    if (!song) return;
    if (current) {
        if (strcasecmp(playing.c_str(), song) == 0) return;
        // A third song in quick succession: the one still fading out stops at once.
        Free(&previous);
        previous = current;
        previousVolume = volume;
        current = nullptr;
    }
    current = new (std::nothrow) SndStream;
    if (!current) return;
    // The menus and the venues name their songs below the data folder ("Music\MenuLoop.ogg"):
    // the program never changes its working folder, so such a name is read from there.
    const bool absolute = song[0] == '/' || song[0] == '\\';
    const std::string path = absolute ? song : std::string(SysProgramFolder()) + "Data/" + song;
    SndStreamStart(current, path.c_str());
    // Silent from its first sample: the fade brings it up.
    SndStreamSetGain(current, 0.0f);
    SndStreamPlay(current);
    currentVolume = 0.0f;
    playing = song;
}

int EcMusic::Update(float seconds) {
    if (previous) {
        SndStreamUpdate(previous);
        previousVolume -= seconds * fadeRate;
        if (previousVolume <= 0.0f)
            Free(&previous);
        else
            SndStreamSetGain(previous, previousVolume);
    }
    if (current) {
        SndStreamUpdate(current);
        if (currentVolume < volume) {
            currentVolume += seconds * fadeRate;
            if (currentVolume > volume) currentVolume = volume;
            SndStreamSetGain(current, currentVolume);
        }
    }
    return 1;
}

// The fade level jumps to the new volume along with the gain: with the gain alone, a raise in a
// fade-in would play loud at once and drop back to the fade's level before climbing again.
void EcMusic::SetVolume(float value) {
    if (current) {
        SndStreamSetGain(current, value);
        currentVolume = value;
    }
    volume = value;
}

void MusicPlayByName(ENTBASE* root, const char* song) {
    if (EcMusic* music = FindMusic(root)) music->Play(song);
}

void MusicSetVolume(ENTBASE* root, float volume) {
    if (EcMusic* music = FindMusic(root)) music->SetVolume(volume);
}
