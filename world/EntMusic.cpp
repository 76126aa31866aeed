// The music entity: its streams, the cross-fade and the functions that find it by name.
#include "world/EntMusic.h"

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
        PropDbAddStringBlank(db, "name", PROP_OFFSET(EntMusic, name), 32);
        PropDbAddStringBlank(db, "songFile", PROP_OFFSET(EntMusic, songFile), 32);
        PropDbAddFloat(db, "volume", PROP_OFFSET(EntMusic, volume), 1.0f);
    }
    return &s_db;
}

const WorldClassDef kClass = {"Music", Db, WorldMake<EntMusic>, WorldClassFlags<EntMusic>::Reset};

EntMusic* FindMusic(ENTBASE* root) {
    ENTBASE* found = EntTreeFindName(root, "Music");
    // Another kind of entity may carry the name.
    return found && EntIsType(found, "Music") ? static_cast<EntMusic*>(found) : nullptr;
}
} // namespace

intptr_t EcMusicProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    return WorldClassProc(kClass, node, message, a, b, c);
}

int EntMusic::CopyClassName(char* buffer) {
    return WorldCopyClassName("Music", buffer);
}

// ---- life ----

int EntMusic::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    return 1;
}

int EntMusic::Start() {
    Ent3dBase::Start();
    VarsChanged();
    return 1;
}

void EntMusic::Free(SndStream** stream) {
    if (!*stream) return;
    SndStreamStop(*stream);
    delete *stream;
    *stream = nullptr;
}

int EntMusic::Destroy() {
    Free(&previous);
    Free(&current);
    return ENTBASE::Destroy();
}

// ---- songs ----

void EntMusic::Play(const char* song) {
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

int EntMusic::Update(float seconds) {
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
void EntMusic::SetVolume(float value) {
    if (current) {
        SndStreamSetGain(current, value);
        currentVolume = value;
    }
    volume = value;
}

void MusicPlayByName(ENTBASE* root, const char* song) {
    if (EntMusic* music = FindMusic(root)) music->Play(song);
}

void MusicSetVolume(ENTBASE* root, float volume) {
    if (EntMusic* music = FindMusic(root)) music->SetVolume(volume);
}
