// The save files' own helpers, shared by the path and the save units: paths as strings ("" for
// a refused name) and the name check that logs.
#pragma once

#include "game/MtGame.h"

#include <string>

std::string MtGameCareerFolderOf(const char* career);
std::string MtGameCareerPathOf(const char* career);
std::string MtGameSandboxPathOf(const char* name);
std::string MtGameLayoutPathOf(MtGame* game, const char* name);
// MtGameSaveNameValid with one log line naming the operation when the name is refused.
bool MtGameCheckSaveName(const char* name, const char* operation);
// True when the career's folder is a real folder inside the save folder (not a link leading out
// of it); otherwise logs that `operation` was refused.
bool MtGameCareerFolderSafe(const char* career, const char* operation);
