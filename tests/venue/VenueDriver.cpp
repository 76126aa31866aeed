// The venue tests' stand-ins for the screens.
#include "tests/venue/VenueDriver.h"

#include "engine/DebugLog.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "game/Ents/AttrPlace.h"
#include "game/Ents/GameGrid.h"
#include "game/VenueInfo.h"
#include "world/CameraVantor1.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

PropDb& ObserverDb() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "VenueObserver");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(VenueObserver, name), 32);
    }
    return s_db;
}

intptr_t VenueObserverProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB: ObserverDb(); return 0;
        case ENT_CLASS_MSG_CLASS_NAME:
            std::snprintf(reinterpret_cast<char*>(b), 64, "VenueObserver");
            return 0;
        case ENT_CLASS_MSG_CREATE: {
            auto* e = new VenueObserver();
            PropDbInitObject(&ObserverDb(), e);
            return EntProcCreate(node, e, &ObserverDb());
        }
        default: return EntProcForward(node, message, a, b, c);
    }
}

} // namespace

int VenueObserver::CopyClassName(char* buffer) {
    std::strcpy(buffer, "VenueObserver");
    return 1;
}

int VenueObserver::OnGameEvent(int event, intptr_t) {
    events.push_back(event);
    return 1;
}

int VenueObserver::Count(int event) const {
    int n = 0;
    for (int e : events)
        n += e == event;
    return n;
}

VenueObserver* VenueObserverMake(ENTBASE* parent) {
    if (!EntClassFind("VenueObserver")) EntCreateClass(VenueObserverProc, 0, 0);
    auto* e = static_cast<VenueObserver*>(EntCreateChild("VenueObserver", parent));
    if (e) e->SetName("EventWatcher");
    return e;
}

MtGame* VenueDriver::Game() const {
    return static_cast<MtGame*>(EntTreeFindType(root, "MtGame"));
}

bool VenueDriver::Load(int venue, int mode, int maxFrames) {
    MtGame* game = Game();
    if (!game || !observer) return false;
    game->mode = mode;
    if (!MtGameChooseVenue(game, venue)) {
        DbgPrintf(DBG_GENERAL, "VenueDriver: no venue %i\n", venue);
        return false;
    }
    const int heard = observer->Count(27);
    MtGameNewGame(game);
    for (int i = 0; i < maxFrames && observer->Count(27) == heard; ++i)
        frame();
    if (observer->Count(27) == heard) {
        DbgPrintf(DBG_GENERAL, "VenueDriver: venue %i did not load its world\n", venue);
        return false;
    }
    return true;
}

void VenueDriver::CellAt(GameGrid* grid, float x, float z, int* cx, int* cz) {
    GameGridWorldToCell(grid, x, z, cx, cz);
}

AttrBase* VenueDriver::Place(int type, int cx, int cz, int turn) {
    MtGame* game = Game();
    auto* grid = static_cast<GameGrid*>(EntTreeFindType(root, "GameGrid"));
    ENTBASE* first = EntTreeFindName(root, "First");
    if (!game || !grid || !first) return nullptr;
    const AttrInfo* info = game->attrList ? game->attrList->Get(type) : nullptr;
    if (!info) {
        DbgPrintf(DBG_GENERAL, "VenueDriver: no attraction type %i\n", type);
        return nullptr;
    }
    return AttrPlace(game, grid, first, info, type, cx, cz, turn);
}

bool VenueDriver::Fly(float x, float y, float z, float yaw, float pitch, float distance) {
    ENTBASE* camera = EntTreeFindType(root, "CameraVantor1");
    if (!camera) return false;
    const VECTOR3 target = {x, y, z};
    CameraVantorFlyTo(camera, &target, yaw, pitch, distance);
    return true;
}

void VenueDriver::OpenDay() {
    MtGameOpenGates(Game());
}

void VenueDriver::Speed(float scale) {
    MtGameSetTimerScale(Game(), scale);
}

void VenueDriver::Leave(const std::function<void()>& clearScene) {
    MtGameEndOfDay(Game());
    clearScene();
}
