// A carnival day with no window, GL context or sound device: the application's root tree
// ("Root", "Game", "World" holding "First"), the real script manager with the Entity, System and
// Game libraries, the shipped data, seeded random numbers, and a fixed frame step. The game
// object's tests and the simulation benchmarks drive days with it.
#pragma once

#include "engine/DebugLog.h"
#include "engine/Script/ScriptGameHost.h"
#include "game/MtGame.h"
#include "game/MtGameHost.h"
#include "tests/support/TestSupport.h"

#include <map>
#include <string>
#include <vector>

struct FrameClock;

// The game object's host over a real frame clock; scripts run on the real manager.
class SimGameHost : public MtGameHost {
  public:
    void SetClockSpeed(float factor) override;
    std::string DataFolder() override { return data; }
    std::string ProgramFolder() override { return program; }
    int RunScriptFile(const char* path) override;

    FrameClock* clock = nullptr;
    std::string data, program;
    std::vector<float> speeds; // every speed asked for
};

// What the Game script library reaches of the "application".
class SimScriptHost : public ScriptGameHost {
  public:
    void Quit() override { ++quits; }
    void BuildRootTree() override {}
    ENTBASE* GetRoot() override { return root; }
    ENTBASE* GetViewports() override { return nullptr; }
    ENTBASE* GetWorld() override { return world; }
    ENTBASE* GetMenus() override { return nullptr; }
    const char* GetDataFolder() override { return data.c_str(); }
    void SetKeyboardEntity(ENTBASE*) override {}
    int LoadEntitiesIni(const char* path) override;

    ENTBASE* root = nullptr;
    ENTBASE* world = nullptr;
    std::string data;
    int quits = 0;
};

// One game event the recorder heard, with the game clock at that moment.
struct SimEvent {
    int event;
    float gameTime;
};

class DayHarness {
  public:
    struct Options {
        float dt = 0.264f; // the fastest in-game speed: 33 ms frames at 8 times
        uint32_t seed = 1;
        // The data folder, ending in "/"; the generated Data/ of the build by default.
        std::string data;
    };

    DayHarness();
    explicit DayHarness(const Options& options);
    ~DayHarness();
    DayHarness(const DayHarness&) = delete;
    DayHarness& operator=(const DayHarness&) = delete;

    // One frame: the scripts, then the entity tree from "Root", with the fixed step.
    void Frame();
    void Frames(int count);
    // What the in-game screen does to open a day.
    void OpenDay();
    // Frames until the day is over; the frames run, or -1 when maxFrames were not enough.
    int RunToDayOver(int maxFrames = 200000);
    // The log so far (levels 1 and 4).
    std::string Log() const;
    // The game events 28 and 29 heard at the root, in order.
    const std::vector<SimEvent>& Events() const;

    TempDir dir; // home and documents
    LogCapture log{DBG_GENERAL | DBG_ENTITY};
    Options options;
    SimGameHost host;
    SimScriptHost scriptHost;
    ENTBASE* root = nullptr;
    MtGame* game = nullptr;
    ENTBASE* world = nullptr;
    ENTBASE* first = nullptr;
    ENTBASE* recorder = nullptr;

  private:
    std::string m_oldHome, m_oldDocuments;
    bool m_hadHome = false, m_hadDocuments = false;
};

// Class "SimStandIn": an entity of any type name ("AttrBase", "Rube1", "RubeGen", "TimeOfDay")
// standing in for a class not built yet. It counts its starts and what the game object asks of
// it: start-of-day resets and values (attractions), extras and spawn positions (generator), the
// "time" written by name (time of day).
class SimStandIn : public ENTBASE {
  public:
    explicit SimStandIn(const char* type) : m_type(type) {}
    const char* GetTypeName() override { return m_type.c_str(); }
    int Start() override {
        ++starts;
        return 1;
    }
    bool SetFloat(const char* name, float value) override;
    void SetPos(const VECTOR3* p) override { pos = *p; }

    int starts = 0, startOfDays = 0, value = 0;
    int extras = 0; // marketing extras received (generator)
    std::vector<int> extraCalls;
    float time = -1.0f;                  // "time" written by name (time of day)
    std::map<std::string, float> floats; // every float written by name
    VECTOR3 pos = {};

  private:
    std::string m_type;
};

// Registers the stand-in class ("SimStandIn") and the attraction and generator links that act on
// stand-ins; MakeStandIn makes one of the given type under parent.
void SimRegisterStandIns();
SimStandIn* MakeStandIn(ENTBASE* parent, const char* type, const char* name = nullptr);
