// Saving and loading careers, sandboxes and layouts. A save builds its file from empty and writes
// it whole over the old one, so a failed save keeps the old file and a saved-again game keeps no
// section of an entity that has gone since.
#include "game/MtGameSave.h"

#include "engine/DebugLog.h"
#include "engine/Dirs.h"
#include "engine/EntIniLoader.h"
#include "engine/Files.h"
#include "engine/IniFile.h"
#include "engine/PropDb.h"
#include "game/Money.h"
#include "game/MtGameSavePaths.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kUnlockMax = 127;

// The system's reason the last failed save did not happen.
std::string s_saveError;

// One character per list index, at most 127: a string loaded shorter is padded with '-' so
// that an unlock of a later index is kept by the next save; a longer one is cut.
void FitUnlocks(char* field, size_t fieldSize, int count) {
    const size_t n = (size_t)std::clamp(count, 0, kUnlockMax);
    size_t length = strnlen(field, fieldSize - 1);
    if (length > (size_t)kUnlockMax) length = kUnlockMax;
    if (length < n) std::memset(field + length, '-', n - length);
    field[std::max(length, n)] = 0;
}

// The money and venue of a sandbox or layout file, read before anything changes.
struct FileHeader {
    int venueId = -1;
    int onDeposit = 0;
    int cash = 0;
};

// The reader keeps a file it holds without looking at the disk again: closed first, so that a
// file saved since is read as it now is.
bool ReadHeader(const std::string& path, FileHeader* header, const char* operation) {
    IniClose();
    if (IniOpen(path.c_str()) < 0) {
        DbgPrintf(DBG_GENERAL, "%s: %s cannot be read; nothing loaded\n", operation, path.c_str());
        return false;
    }
    IniSetSection("Sandbox");
    IniReadInt(&header->venueId, "venueId", -1);
    IniReadInt(&header->onDeposit, "onDeposit", 0);
    IniReadInt(&header->cash, "cash", 0);
    IniClose();
    if (header->onDeposit < 0) {
        // A negative deposit would pay the player when it is charged.
        DbgPrintf(DBG_GENERAL, "%s: %s holds onDeposit %d; read as 0\n", operation, path.c_str(),
                  header->onDeposit);
        header->onDeposit = 0;
    }
    return true;
}

// Writes the profile file begun for `path`; on failure notes and logs the system's reason.
bool WrittenWhole(const char* operation, const std::string& path) {
    if (IniClearProfileFile() == 0) return true;
    s_saveError = FileLastWriteError();
    DbgPrintf(DBG_GENERAL, "%s: %s could not be written (%s); the old file is kept\n", operation,
              path.c_str(), s_saveError.empty() ? "no reason given" : s_saveError.c_str());
    return false;
}

// Writes the money and every saved entity as a new file over the old one.
bool WriteGameFile(MtGame* game, const std::string& path, const char* operation) {
    IniSetProfileFileEmpty(path.c_str());
    MtGameWriteCash(game);
    MtGameSaveEntities(EntGetRoot(game));
    return WrittenWhole(operation, path);
}

// The venue's script builds the world the saved entities go into.
void StartVenueOf(MtGame* game, const VenueInfo* venue) {
    const size_t length = strnlen(venue->scriptFile, sizeof venue->scriptFile);
    if (length >= sizeof game->scriptPath) {
        // A cut name would run another file.
        DbgPrintf(DBG_GENERAL, "MtGame: venue script name %.40s... is too long\n",
                  venue->scriptFile);
        game->scriptPath[0] = 0;
    } else {
        std::memcpy(game->scriptPath, venue->scriptFile, length);
        game->scriptPath[length] = 0;
    }
    MtGameStartVenue(game);
}

void CopyName(char* field, size_t size, const char* name) {
    std::snprintf(field, size, "%s", name);
}

} // namespace

// ---- careers ----

bool MtGameSaveCareer(MtGame* game, const char* career) {
    s_saveError.clear();
    if (!game || !MtGameCheckSaveName(career, "MtGameSaveCareer")) return false;
    const std::string folder = MtGameCareerFolderOf(career);
    // One level when the save folder is there, the whole path when it is not.
    int made = DirCreate(folder.c_str());
    if (made < 0) made = DirCreatePath(folder.c_str());
    if (made < 0) {
        s_saveError = std::strerror(errno);
        DbgPrintf(DBG_GENERAL, "MtGameSaveCareer: folder %s cannot be made: %s\n", folder.c_str(),
                  s_saveError.c_str());
        return false;
    }
    if (!MtGameCareerFolderSafe(career, "MtGameSaveCareer")) return false;
    const std::string path = MtGameCareerPathOf(career);
    IniSetProfileFileEmpty(path.c_str());
    VarDbSaveIni(Career::Db(), &game->career, nullptr, "Career");
    if (!WrittenWhole("MtGameSaveCareer", path)) {
        // A folder made for a career that could not be written would be listed as a career
        // that cannot be loaded: it goes again. A folder that was there stays as it was.
        if (made == 1) {
            DirDeleteTree(folder.c_str());
            DirRemove(folder.c_str());
        }
        return false;
    }
    return true;
}

bool MtGameLoadCareer(MtGame* game, const char* career) {
    if (!game || !MtGameCheckSaveName(career, "MtGameLoadCareer")) return false;
    const std::string path = MtGameCareerPathOf(career);
    IniClose();
    if (IniOpen(path.c_str()) < 0) {
        DbgPrintf(DBG_GENERAL, "MtGameLoadCareer: %s cannot be read; nothing loaded\n",
                  path.c_str());
        return false;
    }
    VarDbLoadIni(Career::Db(), &game->career, nullptr, "Career");
    IniClose();
    Career& record = game->career;
    FitUnlocks(record.venueUnlock, sizeof record.venueUnlock,
               game->venueList ? game->venueList->Count() : 0);
    FitUnlocks(record.attrUnlock, sizeof record.attrUnlock,
               game->attrList ? game->attrList->Count() : 0);
    MtGameSetDifficulty(game, record.difficulty);
    return true;
}

// ---- sandboxes ----

bool MtGameSaveSandbox(MtGame* game, const char* name) {
    s_saveError.clear();
    if (!game || !MtGameCheckSaveName(name, "MtGameSaveSandbox")) return false;
    CopyName(game->sandboxName, sizeof game->sandboxName, name);
    return WriteGameFile(game, MtGameSandboxPathOf(name), "MtGameSaveSandbox");
}

bool MtGameLoadSandbox(MtGame* game, const char* name) {
    if (!game || !MtGameCheckSaveName(name, "MtGameLoadSandbox")) return false;
    const std::string path = MtGameSandboxPathOf(name);
    FileHeader header;
    if (!ReadHeader(path, &header, "MtGameLoadSandbox")) return false;
    // Checked before anything changes: a venue outside the list has no script to build with.
    VenueInfo* venue = game->venueList ? game->venueList->Get(header.venueId) : nullptr;
    if (!venue) {
        DbgPrintf(DBG_GENERAL, "MtGameLoadSandbox: %s names venue %d, which is not in the list\n",
                  path.c_str(), header.venueId);
        return false;
    }
    game->career.Reset();
    CopyName(game->sandboxName, sizeof game->sandboxName, name);
    game->onDeposit = header.onDeposit;
    game->cash = header.cash;
    game->career.cash = header.cash;
    MtGameSetVenue(game, header.venueId);
    StartVenueOf(game, venue);
    if (!EntIsLive(game)) return true; // the venue script ended the game
    MtGameLoadEntities(game, path.c_str());
    // The saved carnival was standing before the day began: it is no profit of the day.
    game->day.startValue = MtGameStandingValue(game);
    return true;
}

// ---- layouts ----

bool MtGameSaveLayout(MtGame* game, const char* name) {
    s_saveError.clear();
    if (!game || !MtGameCheckSaveName(name, "MtGameSaveLayout") ||
        !MtGameCheckSaveName(game->career.name, "MtGameSaveLayout"))
        return false;
    CopyName(game->layoutName, sizeof game->layoutName, name);
    // The career's folder, which a sandbox game has not made; the save folder must exist.
    DirCreate(MtGameCareerFolderOf(game->career.name).c_str());
    if (!MtGameCareerFolderSafe(game->career.name, "MtGameSaveLayout")) return false;
    return WriteGameFile(game, MtGameLayoutPathOf(game, name), "MtGameSaveLayout");
}

bool MtGameLoadLayout(MtGame* game, const char* name) {
    if (!game || !MtGameCheckSaveName(name, "MtGameLoadLayout") ||
        !MtGameCheckSaveName(game->career.name, "MtGameLoadLayout"))
        return false;
    const std::string path = MtGameLayoutPathOf(game, name);
    FileHeader header;
    if (!ReadHeader(path, &header, "MtGameLoadLayout")) return false;
    VenueInfo* venue = MtGameVenue(game);
    if (!venue) {
        DbgPrintf(DBG_GENERAL, "MtGameLoadLayout: venue %d is not in the list; nothing loaded\n",
                  (int)game->venueId);
        return false;
    }
    CopyName(game->layoutName, sizeof game->layoutName, name);
    StartVenueOf(game, venue);
    if (!EntIsLive(game)) return true;
    MtGameLoadEntities(game, path.c_str());
    // The layout's deposits are paid on the day it is loaded into; with that day not yet opened
    // (a venue script that starts it later) they are paid all the same, outside its account.
    if (!MtGameBook(game, MONEY_DEPOSIT, header.onDeposit))
        game->cash = MoneyCharge(game->cash, header.onDeposit);
    game->onDeposit = header.onDeposit;
    return true;
}

const char* MtGameSaveError() {
    return s_saveError.c_str();
}

// ---- the pieces ----

void MtGameWriteCash(MtGame* game) {
    if (!game) return;
    IniProfileWriteInt("Sandbox", "venueId", game->venueId);
    IniProfileWriteInt("Sandbox", "onDeposit", game->onDeposit);
    IniProfileWriteInt("Sandbox", "cash", game->cash);
}

int MtGameSaveEntities(ENTBASE* entity) {
    return EntSaveEntities(entity);
}

int MtGameLoadEntities(MtGame* game, const char* path) {
    if (!game || !path) return 0;
    ENTBASE* root = EntGetRoot(game);
    EntIniLoader loader(MTGAME_LOAD_CAPACITY);
    loader.root = root;
    ENTBASE* first = EntTreeFindName(root, "First");
    if (!first)
        DbgPrintf(DBG_GENERAL,
                  "MtGameLoadEntities: the venue made no entity First; %s loads under the root\n",
                  path);
    loader.defaultParent[0] = loader.defaultParent[1] = first ? first : root;
    if (loader.Open(path) != 0) {
        DbgPrintf(DBG_GENERAL, "MtGameLoadEntities: %s cannot be read\n", path);
        return 0;
    }
    loader.EntLoadIni(ENT_SAVEGAME);
    const int started = loader.StartAll();
    // The grid takes in the attractions that now stand on it.
    if (ENTBASE* grid = EntTreeFindType(root, "GameGrid")) grid->Start();
    EntAutoNameResync(root);
    return started;
}
