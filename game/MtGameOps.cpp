// The game object's operations for the menus: venue, preferences, difficulty and ranks, a new
// game and its venue script, hiring, and the walks over attractions and patrons.
#include "engine/DebugLog.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/MtGameHost.h"
#include "game/MtGameLinks.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {
bool IsType(ENTBASE* entity, const char* type) {
    return std::strcmp(entity->GetTypeName(), type) == 0;
}

// Calls visit on every entity of the subtree, the entity first; visit answers whether to go
// below the entity it was given.
template <typename Visit>
void Walk(ENTBASE* entity, Visit& visit) {
    if (!EntIsLive(entity) || !entity->node) return;
    EntWalkGuard guard;
    EntNode* self = entity->node;
    if (!visit(entity)) return;
    if (self->deleteCount != 0) return;
    for (EntNode *c = self->firstChild, *next = nullptr; c; c = next) {
        next = c->next;
        if (c->deleteCount == 0 && c->object) Walk(c->object, visit);
    }
}

// The fixed rank titles, for tuning values whose names were not read from a file. A data file's
// own tier names win, so a locked row names the rank as the day's summary does.
const char16_t* const kRankTitles[4] = {u"Novice", u"Commander", u"Magnate", u"Vantor"};
} // namespace

// ---- venue and preferences ----

VenueInfo* MtGameVenue(MtGame* game) {
    if (!game) return nullptr;
    game->venue = game->venueList ? game->venueList->Get(game->venueId) : nullptr;
    return game->venue;
}

void MtGameSetVenue(MtGame* game, int venueIndex) {
    if (!game) return;
    game->venueId = venueIndex;
    MtGameVenue(game);
}

bool MtGameChooseVenue(MtGame* game, int venueIndex) {
    if (!game || !game->venueList || !game->venueList->Get(venueIndex)) return false;
    MtGameSetVenue(game, venueIndex);
    // The record's name may be one character longer than the game's buffer: cut, never overrun.
    const char* script = game->venue->scriptFile;
    const size_t length = strnlen(script, sizeof game->scriptPath - 1);
    std::memcpy(game->scriptPath, script, length);
    game->scriptPath[length] = 0;
    return true;
}

float MtGameVenuePower(MtGame* game) {
    const VenueInfo* venue = MtGameVenue(game);
    return venue ? venue->powerSupply : 0.0f;
}

// The options' preferences are fractions from 0 to 1; whatever the record was given, what is
// applied stays inside that (NaN as 0), so no gain, speed or distance becomes negative or
// non-finite. The edge-scroll zone has no screen and no upper end: it is only kept finite.
static float Fraction(float value) {
    return value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;
}

static float NonNegative(float value) {
    return value > 0.0f && std::isfinite(value) ? value : 0.0f;
}

void MtGameApplyPrefs(MtGame* game) {
    if (!game) return;
    const Prefs& prefs = game->prefs;
    ENTBASE* root = EntGetRoot(game);
    if (ENTBASE* camera = EntTreeFindType(root, "CameraVantor1")) {
        camera->SetFloat("scrollSpeedX", Fraction(prefs.edgeScrollSpeed) * 200.0f);
        camera->SetFloat("scrollSpeedZ", Fraction(prefs.edgeScrollSpeed) * 200.0f);
        camera->SetFloat("scrollZonePct", NonNegative(prefs.edgeScrollRegion) * 0.015f);
    }
    if (MtGameHost* host = MtGameGetHost()) {
        host->SetListenerGain(Fraction(prefs.volMaster));
        host->SetMusicVolume(root, Fraction(prefs.volMusic));
    }
    // Patrons read their draw distance from here rather than from the record: a changed distance
    // reaches them when the options are applied, as every options screen does.
    g_patronDrawDistance = Fraction(prefs.patronVisDist) * 512.0f;
}

void MtGameLoadPrefs(MtGame* game) {
    if (!game) return;
    game->prefs.Load(MtGameSaveFolder());
    MtGameApplyPrefs(game);
}

// ---- difficulty and ranks ----

int MtGameCashMult(MtGame* game) {
    if (!game) return 0;
    const int32_t* mult = game->gameVals.cashMult;
    if (game->mode == MTGAME_SANDBOX) return mult[GV_MEDIUM];
    switch (game->career.difficulty) {
        case 0: return mult[GV_EASY];
        case 2: return mult[GV_HARD];
        default: return mult[GV_MEDIUM];
    }
}

void MtGameSetDifficulty(MtGame* game, int difficulty) {
    if (!game) return;
    const GameVals& vals = game->gameVals;
    switch (difficulty) {
        case 0: game->degRateFact = vals.maintFactEasy; break;
        case 2: game->degRateFact = vals.maintFactHard; break;
        default: game->degRateFact = vals.maintFactMed; break;
    }
}

const char16_t* MtGameRankName(MtGame* game, int value) {
    if (!game) return kRankTitles[0];
    const char16_t* title = nullptr;
    game->gameVals.GetTier(value, &title, nullptr);
    int tier = 0;
    while (tier < 3 && title != game->gameVals.tierName[tier])
        ++tier;
    return title && title[0] ? title : kRankTitles[tier];
}

// ---- a new game ----

bool MtGameNewGame(MtGame* game) {
    if (!game) return false;
    game->cash = 1000000;
    game->onDeposit = 0;
    if (game->mode == MTGAME_SANDBOX) {
        game->career.Reset();
        MtGameSetDifficulty(game, game->career.difficulty);
    }
    return MtGameStartVenue(game);
}

bool MtGameStartVenue(MtGame* game) {
    if (!game) return false;
    MtGameHost* host = MtGameGetHost();
    // The world loader waits for the world only when the script really ran: a missing or broken
    // script would otherwise leave the player on the loading screen for ever.
    bool ran = false;
    if (!game->scriptPath[0])
        DbgPrintf(DBG_GENERAL, "MtGameStartVenue: no venue script\n");
    else if (!host)
        DbgPrintf(DBG_GENERAL, "MtGameStartVenue: no host to run %s\n", game->scriptPath);
    else if (host->RunScriptFile((host->DataFolder() + game->scriptPath).c_str()) == 1)
        ran = true;
    else
        DbgPrintf(DBG_GENERAL, "MtGameStartVenue: %s did not run\n", game->scriptPath);
    if (!EntIsLive(game)) return ran; // the script ended the game
    MtGameApplyPrefs(game);
    game->carnyCounter = 0;
    return ran;
}

// ---- hiring ----

void MtGameHireCarny(MtGame* game) {
    if (!game) return;
    ENTBASE* generator = game->RubeGen();
    if (!generator) return;
    ENTBASE* carny = EntCreateChild("Carny", generator);
    if (!carny) {
        DbgPrintf(DBG_GENERAL, "MtGameHireCarny: no carny made (class Carny)\n");
        return;
    }
    char name[ENTBASE::NAME_LEN_MAX + 1];
    std::snprintf(name, sizeof name, "Carny %i", game->carnyCounter);
    carny->SetName(name);
    if (game->carnyCounter < INT32_MAX) ++game->carnyCounter;
    // Without a spawn point the answer is false but the position is the generator's own: the
    // carny starts there either way, never at the origin.
    VECTOR3 pos = {};
    if (!MtGameRubeGenSpawnPosition(generator, &pos)) generator->CopyPos(&pos);
    carny->SetPos(&pos);
    carny->Start();
}

// ---- walks ----

void MtGameSumAttrValue(ENTBASE* entity, int32_t* sum) {
    if (!sum) return;
    auto visit = [sum](ENTBASE* e) {
        if (IsType(e, "AttrBase")) *sum = MoneyAdd(*sum, MtGameAttrValue(e));
        return true;
    };
    Walk(entity, visit);
}

void MtGameForEachAttr(ENTBASE* entity) {
    auto visit = [](ENTBASE* e) {
        if (IsType(e, "AttrBase")) MtGameAttrStartOfDay(e);
        return true;
    };
    Walk(entity, visit);
}

void MtGameRemovePatrons(ENTBASE* entity) {
    auto visit = [](ENTBASE* e) {
        if (!IsType(e, "Rube1")) return true;
        EntDestroyTree(e);
        return false;
    };
    Walk(entity, visit);
}
