// The game object and its venue list as the front-end screens share them: looked up once by
// type from the tree's root and kept process-wide, found again when the game object has gone.
#pragma once

class ENTBASE;
class MtGame;
class VenueInfoList;

// The game object of the tree `from` belongs to, or null when there is none.
MtGame* MenuSharedGame(ENTBASE* from);
// Its venue list, or null. Read through the game each time: the list is the game's to free.
VenueInfoList* MenuSharedVenues(ENTBASE* from);
