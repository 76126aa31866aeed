// The music entity: background music from Ogg Vorbis streams, cross-fading when the song
// changes. The application makes one, named "Music", under the root of the tree; other code
// reaches it through MusicPlayByName and MusicSetVolume.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/WorldClass.h"

#include <cstdint>
#include <string>

struct SndStream;

class EntMusic : public Ent3dBase {
  public:
    int CopyClassName(char* buffer) override;
    const char* GetTypeName() override { return "Music"; }
    uint32_t GetClassFlags() override { return WorldClassFlags<EntMusic>::word; }
    void SetClassFlags(uint32_t flags) override { WorldClassFlags<EntMusic>::word = flags; }
    int Create(EntNode* node) override; // 1
    int Start() override;               // 1
    // The fades: the previous song down and the current one up, at the fade rate; 1.
    int Update(float seconds) override;
    int Destroy() override;

    // Starts the song, or fades over to it from the one playing. The song playing (its name
    // compared without regard to case) is left alone. A song that cannot be read plays
    // silently, and the next song is taken as usual.
    void Play(const char* song);
    // The gain of the current stream at once, and "volume".
    void SetVolume(float value);

    char songFile[33] = {}; // stored and loaded; only Play chooses what plays
    float volume = 1.0f;

    std::string playing;           // the current song's name
    SndStream* current = nullptr;  // fading in or playing
    SndStream* previous = nullptr; // fading out
    float fadeRate = 1.0f;         // volume per second
    float previousVolume = 0.0f;
    float currentVolume = 0.0f;

  private:
    static void Free(SndStream** stream);
};

// Class "Music".
intptr_t EcMusicProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// The music entity named "Music" in the subtree of `root`: Play, or SetVolume. Nothing when
// there is none.
void MusicPlayByName(ENTBASE* root, const char* song);
void MusicSetVolume(ENTBASE* root, float volume);
