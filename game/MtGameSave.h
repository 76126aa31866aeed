// The game object's save files: careers (".car", a folder each), sandboxes (".sbx") and layouts
// (".lay", a venue's arrangement inside a career's folder), all ini files in the save folder.
//
// Save names come from the player and become paths, so every operation first checks the name:
// empty, ".", "..", longer than 128 characters, holding "/", "\", ":" or a control character, or
// ending in "." or " " is refused with one log line (false, or nothing done). Every save builds
// its file from empty and writes it whole over the old one: false when it could not be written,
// and then the old file is as it was.
#pragma once

#include "engine/EntBase.h"
#include "game/MtGame.h"

#include <cstddef>

enum { MTGAME_SAVE_NAME_MAX = 128, MTGAME_LOAD_CAPACITY = 1000 };

// Whether the name may name a save (the rules above); no log line.
bool MtGameSaveNameValid(const char* name);

// ---- paths: false (and an empty out) for a refused name or a path that does not fit ----

// Save folder + career + "/" + career, extension ".car".
bool MtGameCareerPath(char* out, size_t outSize, const char* career);
// Save folder + name, extension ".sbx".
bool MtGameSandboxPath(char* out, size_t outSize, const char* name);
// Save folder + the career's name + "/Layout<venue, two digits>_" + name + ".lay".
bool MtGameLayoutPath(MtGame* game, char* out, size_t outSize, const char* name);

// ---- careers ----

bool MtGameCareerExists(const char* career);
// Deletes the career's folder with everything in it; only a folder that lies inside the save
// folder is touched.
bool MtGameDeleteCareer(const char* career);
// Creates the career's folder and writes the career record as section "Career". A folder made
// here is removed again when the record cannot be written.
bool MtGameSaveCareer(MtGame* game, const char* career);
// Reads the career record (missing keys take their defaults), pads the unlock strings to the
// lists and selects the difficulty's wear factor. False, with the career unchanged, when the
// file cannot be read.
bool MtGameLoadCareer(MtGame* game, const char* career);

// ---- sandboxes ----

bool MtGameSandboxExists(const char* name);
bool MtGameDeleteSandbox(const char* name);
// Section "Sandbox" ("venueId", "onDeposit", "cash"), then every saved entity.
bool MtGameSaveSandbox(MtGame* game, const char* name);
// Resets the career, takes the file's venue and money (no deposit charged), runs the venue
// script and re-creates the saved entities. False, with the game unchanged, when the file cannot
// be read or its "venueId" is not in the venue list.
bool MtGameLoadSandbox(MtGame* game, const char* name);

// ---- layouts of the current career and venue ----

bool MtGameLayoutExists(MtGame* game, const char* name);
bool MtGameDeleteLayout(MtGame* game, const char* name);
bool MtGameSaveLayout(MtGame* game, const char* name);
// Runs the current venue's script, re-creates the saved entities and charges the layout's
// deposit (all the cash when there is less). The file's "venueId" and "cash" are not used.
// False, with the game unchanged, when the file cannot be read or there is no current venue.
bool MtGameLoadLayout(MtGame* game, const char* name);

// The system's reason the last career, sandbox or layout save failed on the disk ("No space
// left on device"); "" when it did not fail there.
const char* MtGameSaveError();

// ---- the pieces ----

// Writes section "Sandbox" on the current profile file.
void MtGameWriteCash(MtGame* game);
// The sections of every saved entity of the subtree, pre-order; how many were written.
int MtGameSaveEntities(ENTBASE* entity);
// Re-creates the saved entities of the file under "First" (else the root), starts them, restarts
// the placement grid and resynchronises the automatic names; how many were started.
int MtGameLoadEntities(MtGame* game, const char* path);
