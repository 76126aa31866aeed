// The shared game object link.
#include "ui/Menus/MenuSharedGame.h"

#include "engine/EntRef.h"
#include "game/MtGame.h"

namespace {
// A link, not a pointer: a game destroyed with its tree is found again in the next one.
EntRef s_game;
} // namespace

MtGame* MenuSharedGame(ENTBASE* from) {
    if (!s_game.Get() && from) s_game = EntRef(EntTreeFindType(EntGetRoot(from), "MtGame"));
    return dynamic_cast<MtGame*>(s_game.Get());
}

VenueInfoList* MenuSharedVenues(ENTBASE* from) {
    MtGame* game = MenuSharedGame(from);
    return game ? game->venueList : nullptr;
}
