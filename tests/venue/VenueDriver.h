// Shortcuts past the screens for the venue's tests, as plain calls to the game's own steps that
// the screens call: choose and load a venue (MtGameChooseVenue, MtGameNewGame), place attractions
// (AttrPlace), fly the camera, open the gates (MtGameOpenGates), change the speed, and leave.
// Test-only: the game never links it.
#pragma once

#include "engine/EntBase.h"
#include "game/MtGame.h"

#include <functional>
#include <vector>

class GameGrid;
class AttrBase;

// Class "VenueObserver": hears every game event that reaches it, in order.
class VenueObserver : public ENTBASE {
  public:
    const char* GetTypeName() override { return "VenueObserver"; }
    int CopyClassName(char* buffer) override;
    int OnGameEvent(int event, intptr_t value) override;
    int Count(int event) const;
    std::vector<int> events;
};
// Registers the class when needed and makes one named "EventWatcher" under parent (not "Observer",
// the world's free camera).
VenueObserver* VenueObserverMake(ENTBASE* parent);

struct VenueDriver {
    ENTBASE* root = nullptr;
    VenueObserver* observer = nullptr;
    // One frame of the application (the test moves its clock first).
    std::function<void()> frame;

    MtGame* Game() const;
    // The front end's steps: the mode, the venue chosen, a new game, then frames until the
    // observer has heard the world loaded. False when it was not heard in maxFrames.
    bool Load(int venue, int mode, int maxFrames = 10);
    // Places as the placing screen does (AttrPlace), with the ring's first corner at cell
    // (cx, cz) under "First", paying the deposit. Null when it cannot be placed.
    AttrBase* Place(int type, int cx, int cz, int turn = 0);
    // The cell under world (x, z).
    static void CellAt(GameGrid* grid, float x, float z, int* cx, int* cz);
    // Flies the management camera to the target.
    bool Fly(float x, float y, float z, float yaw, float pitch, float distance);
    // The in-game screen's Start (MtGameOpenGates).
    void OpenDay();
    void Speed(float scale);
    // The end of the day, then the scene cleared as the menus do on leaving.
    void Leave(const std::function<void()>& clearScene);
};
