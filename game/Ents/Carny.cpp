// The carny: its class, its life, its wages and its frame.
#include "game/Ents/Carny.h"

#include "I3d/Camera.h"
#include "I3d/CharModel.h"
#include "I3d/Device.h"
#include "I3d/Font.h"
#include "I3d/Frustum.h"
#include "engine/DebugLog.h"
#include "engine/EntDrawWalk.h"
#include "engine/EntTree.h"
#include "engine/PropDb.h"
#include "engine/Random.h"
#include "engine/WorldClass.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/CarnyChars.h"
#include "game/Ents/GameEntCull.h"
#include "game/Ents/GameEntHighlight.h"
#include "game/Ents/GameEntRoute.h"
#include "game/Ents/GameEntStand.h"
#include "game/Ents/GroundHeight.h"
#include "game/Ents/RemovalKinds.h"
#include "game/Ents/Rube1.h"
#include "game/GameGridCore.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/WaypointPath.h"
#include "gi/Render/CharModelInst.h"

namespace {
constexpr uint32_t kRouteColour = 0x4F4FFF4Fu;

EntRef s_grid;
EntRef s_game;
int s_carnyNumber = 0;
bool s_classHoldsChars = false;

PropDb* Db() {
    static PropDb s_db;
    if (!s_db.first) {
        PropDbSetName(&s_db, "Carny");
        PropDbAddSeparator(&s_db, "General:");
        PropDbAddStringBlank(&s_db, "name", PROP_OFFSET(Carny, name), 32);
        PropDbAddVector3Zero(&s_db, "pos", PROP_OFFSET(Carny, pos));
        PropDbAddSeparator(&s_db, "Dimensions:");
    }
    return &s_db;
}

void ResetClass() {
    WorldClassFlags<Carny>::Reset();
    s_grid = EntRef();
    s_game = EntRef();
    s_carnyNumber = 0;
    // A carny holds its attraction, its litter and the game's objects, never a patron.
    EntClassSetRemoval("Carny", ENT_REMOVAL_KIND_DEFAULT,
                       ENT_REMOVAL_KIND_DEFAULT | GAME_REMOVAL_LITTER);
}

const WorldClassDef kClass = {"Carny", Db, WorldMake<Carny>, ResetClass};
} // namespace

intptr_t EcCarnyProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c) {
    switch (message) {
        case ENT_CLASS_MSG_BUILD_DB:
            GameEntHighlightAcquire();
            GameEntRouteAcquire();
            // The class holds its characters from its set-up (with a device) to its release.
            if (!s_classHoldsChars) s_classHoldsChars = CarnyCharsAcquire();
            break;
        case ENT_CLASS_MSG_UNREGISTER:
            GameEntHighlightRelease();
            GameEntRouteRelease();
            if (s_classHoldsChars) CarnyCharsRelease();
            s_classHoldsChars = false;
            break;
        default: break;
    }
    return WorldClassProc(kClass, node, message, a, b, c);
}

Carny::Carny() = default;

Carny::~Carny() {
    FreeOwned();
}

// The route and the character; Destroy frees them before the entity goes, so the destructor
// finds them gone.
void Carny::FreeOwned() {
    WaypointPathDestroy(route);
    route = nullptr;
    if (character) {
        delete character;
        character = nullptr;
        CarnyCharsRelease();
    }
}

int Carny::CopyClassName(char* buffer) {
    return WorldCopyClassName("Carny", buffer);
}
uint32_t Carny::GetClassFlags() {
    return WorldClassFlags<Carny>::word;
}
void Carny::SetClassFlags(uint32_t word) {
    WorldClassFlags<Carny>::word = word;
}

GameGridCore* Carny::Grid() {
    return GameGridFrom(s_grid.Get());
}

MtGame* Carny::Game() {
    return static_cast<MtGame*>(s_game.Get());
}

// ---- life ----

int Carny::Create(EntNode*) {
    if (classDb) PropDbInitObject(classDb, this);
    flags |= ENT_FLAG_PASSABLE;
    number = ++s_carnyNumber;
    route = WaypointPathCreate(128);
    if (route) route->tolerance = VECTOR3{0.3f, 0.0f, 0.3f};
    heading.SetTime(0.5f);
    icon.cell = -1;
    icon.size = 0.06f;
    // Drawn even while the characters are not loaded, so that the sequence of draws stays the
    // same with and without a device.
    kind = RandInt(2) == 1 ? 1 : 0;
    skin = RandInt(3);
    // Its own character of the class's models, made with the carny; headless (no device) or
    // with a kind that did not load there is none and the carny is not drawn.
    if (CarnyCharsAcquire()) {
        if (CharModel* model = CarnyCharModel(kind)) character = CharModelCreateInstance(model);
        if (!character) {
            CarnyCharsRelease();
        } else {
            CharModelInstSetSkin(character, CarnyCharSkin(kind, skin));
            CharModelInstPlayAnim(character, CarnyAnimName(anim));
        }
    }
    return 1;
}

int Carny::VarsChanged() {
    pos.y = GameEntGroundHeightOr(this, &pos, pos.y);
    home = pos;
    return 1;
}

int Carny::Start() {
    Ent3dBase::Start();
    VarsChanged();
    ENTBASE* root = EntGetRoot(this);
    if (!s_grid.Get()) s_grid = EntRef(EntTreeFindType(root, "GameGrid"));
    if (!s_game.Get()) s_game = EntRef(EntTreeFindType(root, "MtGame"));
    const MtGame* game = Game();
    iconTimer = RandFloat(game ? game->gameVals.iconDesireDelay : 0.0f);
    GameEntStandLocalBox(this, height);
    EnterIdle();
    return 1;
}

int Carny::Destroy() {
    DbgPrintf(DBG_ENTITY, "Destroying: %s (%s)\n", name, GetTypeName());
    EntTreeNotifyRemoved(EntGetRoot(this), this);
    FreeOwned();
    ENTBASE::Destroy(); // deletes this
    return 1;
}

int Carny::OnEntityRemoved(ENTBASE* gone) {
    // Only a removal that concerns the carny (its litter or its attraction) is worth its line: a
    // busy day removes thousands of patrons, and a line for each from every carny buried the log.
    const bool litter = gone && gone == litterTarget.Address() && litterTarget.Get();
    const bool attraction = gone && gone != this && gone == target.Address() && target.Get();
    if (litter || attraction)
        DbgPrintf(DBG_GENERAL, "%s received EntDestroyed from %s:%s\n", name, gone->GetName(),
                  litter ? "and I was going after that litter!" : "");
    if (litter) {
        litterTarget = EntRef();
        // Nothing is left to sweep where the walk ends: the carny idles there instead.
        if (task == CARNY_WALK && nextTask == CARNY_SWEEP) nextTask = CARNY_IDLE;
    }
    if (attraction) EnterIdle();
    return 1;
}

int Carny::OnGameEvent(int event, intptr_t) {
    if (event != GE_HOURLY) return 1;
    // Booked as the day's money: between the day's close and the next start (the day is
    // settled) nothing is charged, the wage and the severance alike.
    if (MtGame* game = Game()) MtGameBook(game, MONEY_COST, CARNY_WAGE);
    return 1;
}

// ---- the frame ----

int Carny::Update(float seconds) {
    if (fireRequest) {
        if (!paidOff) {
            if (MtGame* game = Game()) MtGameBook(game, MONEY_COST, CARNY_SEVERANCE);
            paidOff = 1;
        }
        EntDestroyTree(this);
        return 0;
    }
    lastStep = seconds;
    switch (task) {
        case CARNY_IDLE:
            taskTimer -= seconds;
            if (taskTimer > 0.0f) break;
            taskTimer += 4.0f; // the next choice, while it stays idle
            Decide();
            break;
        case CARNY_WALK: WalkStep(seconds); break;
        case CARNY_REPAIR: RepairStep(seconds); break;
        case CARNY_SWEEP: SweepStep(seconds); break;
        case CARNY_SLEEP: SleepStep(seconds); break;
        default: break;
    }
    GameEntStand(this, heading.GetValue(), 0.0f, 0.0f, height);
    if (statusDisplay) CarnyStatusText(this, statusLine, (int)(sizeof statusLine / 2));
    if (character) CharModelInstAnimate(character);
    return 1;
}

void Carny::PlayAnim(int which) {
    anim = which;
    if (character) CharModelInstPlayAnim(character, CarnyAnimName(anim));
}

int Carny::Draw() {
    // The editor's pass reaches Draw again through DrawPost: only its name tag and boxes there.
    if (EntTreeCurrentDrawWalk() == ENT_WALK_DRAWPOST) return Ent3dBase::Draw();
    if (!(GetClassFlags() & ENT_CLASS_DRAW)) return 1;
    // Out of the view nothing of the character is skinned or drawn; its clip keeps time.
    if (highlighted) GameEntDrawHighlight(AttrHighlightPhase(), localBox, &matrix);
    if (character && GameEntCharacterInView(&matrix, height)) {
        I3dSetWorld(&matrix);
        CharModelInstDraw(character);
    }
    icon.position = VECTOR3{pos.x, pos.y + height + 0.3f, pos.z};
    icon.UpdateDraw(lastStep);
    if (statusDisplay && statusLine[0]) {
        const MtGame* game = Game();
        Font* font = game ? game->fonts[0] : nullptr;
        const VECTOR3 above = {pos.x, pos.y + height + 0.6f, pos.z};
        float at[3];
        I3dProjectPoint(&above, at);
        int w = 0, h = 0;
        I3dGetScreenSize(&w, &h);
        if (font && FontIsLoaded(font) && at[2] >= 0.0f && at[0] >= -1.0f && at[0] <= 1.0f &&
            at[1] >= -1.0f && at[1] <= 1.0f) {
            FontDraw(font, ((float)w * at[0] + (float)w) * 0.5f,
                     ((float)h - (float)h * at[1]) * 0.5f, statusLine);
            FontFlush(font);
        }
    }
    if (g_rubeDrawPaths) GameEntDrawRoute(route, &pos, kRouteColour);
    return 1;
}
