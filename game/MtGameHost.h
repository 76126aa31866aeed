// What the game object needs of the program around it: the application's clock, its folders, the
// volumes, the scripts and the render kernel's shared resources. The simulation links none of
// those; the game application implements this over them, and the tests' day harness over a
// real frame clock. Without a host the game object still runs: its data comes from "Data/" in
// the program folder, and it draws, plays and runs nothing.
#pragma once

#include <string>

class ENTBASE;
class Font;

class MtGameHost {
  public:
    virtual ~MtGameHost() = default;

    // The game clock's speed (1.0 real time, 0.0 stopped).
    virtual void SetClockSpeed(float factor) = 0;
    // Folders, each ending in "/".
    virtual std::string DataFolder() = 0;
    virtual std::string ProgramFolder() = 0;
    // Runs a Lua file (a full path) as a new auto-deleting script: 1 started, -1 not loaded or
    // failed before its first wait.
    virtual int RunScriptFile(const char* path) = 0;

    // Sound. Without a sound device these do nothing.
    virtual void SetListenerGain(float) {}
    // The volume of the music entity under root.
    virtual void SetMusicVolume(ENTBASE*, float) {}

    // The kernel's shared resources: null or -1 when there is none (no device, missing file).
    virtual Font* AcquireFont(const char*) { return nullptr; }
    virtual void ReleaseFont(Font*) {}
    virtual int LoadSharedTexture(const char*) { return -1; }
    virtual void ReleaseTexture(int) {}
    // The info-icon sheet: one reference more or less.
    virtual void AcquireInfoIcons(const char*) {}
    virtual void ReleaseInfoIcons() {}
};

// The host every game object uses; null for none. The application sets it before it builds the
// root tree and clears it at shutdown.
void MtGameSetHost(MtGameHost* host);
MtGameHost* MtGameGetHost();
