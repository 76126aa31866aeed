// The user's own folders: the documents folder and the game's folder inside it, where the
// settings file and the saves live.
#pragma once

#include <string>

// The documents folder, ending in "/": $XDG_DOCUMENTS_DIR (absolute), else the DOCUMENTS entry
// of the user-dirs file ($XDG_CONFIG_HOME, else ~/.config, + "/user-dirs.dirs"), else
// ~/Documents when it exists. "" when there is none (a user-dirs entry naming the home folder
// itself means none).
std::string UserDocumentsFolder();
// The documents folder + "Fairlark/"; "" without a documents folder. Nothing is created.
std::string UserGameFolder();
// Where the settings file and the saves live: UserGameFolder (), made when missing with the
// documents folder along it; else, or when it cannot be made or written into (a file in its
// place, a read-only disk), "Saves/" in the program folder (which ends in "/"), said once with
// the reason on stderr and in the log. "Saves/" itself is not created.
std::string UserSaveFolder(const std::string& programFolder);
