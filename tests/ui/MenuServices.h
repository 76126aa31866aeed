// What the menus use of the simulation and the world, line by line, with the owner that
// provides each; the screens include what they use of it themselves. Where the menus' wording
// differs from the owner's name the line says so. Every line is checked against its owner.
#pragma once

#include "engine/Ent3d/Ent3dBase.h"
#include "engine/EntTree.h"
#include "game/AttrInfo.h"
#include "game/Career.h"
#include "game/Ents/AttrBase.h"
#include "game/Ents/Carny.h"
#include "game/Ents/IconFlyup.h"
#include "game/Ents/Rube1.h"
#include "game/Ents/RubeGen.h"
#include "game/GameGridCore.h"
#include "game/GameVals.h"
#include "game/Money.h"
#include "game/MtGame.h"
#include "game/MtGameSave.h"
#include "game/MtPowerGrid.h"
#include "game/Prefs.h"
#include "game/VenueInfo.h"
#include "world/CameraAttach.h"
#include "world/CameraCurrent.h"
#include "world/EntMusic.h"
#include "world/EntViewport.h"
#include "world/Particles/ParticleSys.h"

struct MenuServiceLine {
    const char* line;  // the menus' name for it
    const char* owner; // where it lives
};

// The application's ClearScene lives above the interface (engine/GameApp): the menus reach it
// through the application, never by including it.
inline constexpr MenuServiceLine kMenuServices[] = {
    // ---- the placement grid ----
    {"GameGrid", "GameGridCore: originX/originZ, tileWidth/tileHeight, cols, rows, cells, "
                 "showAll, cursorX/cursorZ, footWidth/footHeight, showFootprint"},
    {"GameGridPick", "game/GameGridCore.h"},
    {"GameGridWorldToCell", "game/GameGridCore.h"},
    {"GameGridRectFree", "game/GameGridCore.h"},
    {"GameGridMarkRect", "game/GameGridCore.h"},
    // ---- attractions ----
    {"AttrBase", "AttrBase: info, type, closed, repairMe, broken, condition = repair (the "
                 "wear: 0 new, 1 worn), agl (snap to ground), ticketPrice, highlighted, seats"},
    {"AttrBaseValue", "game/Ents/AttrBase.h"},
    {"AttrBaseSetClosed", "game/Ents/AttrBase.h"},
    {"AttrBaseQueueCount", "game/Ents/AttrBase.h"},
    {"AttrBaseRiderCount", "game/Ents/AttrBase.h"},
    {"AttrBaseGetModel", "AttrBaseRideCamCount: the ride-camera count its animator reports"},
    {"AttrInfo", "game/AttrInfo.h: the record's fields by name"},
    {"AttrInfoList::Get", "RecordList<AttrInfo>::Get"},
    {"AttrInfoList::IndexOf", "RecordList<AttrInfo>::IndexOf"},
    // ---- the game object ----
    {"MtGame", "MtGame: cash, start-of-day cash = career \"cash\", onDeposit, mode, "
               "showHourlyReport, gameTime, closing hour = venue, day-over = dayOver, "
               "day-running = chargeCostsPending, career, gameVals, prefs, ticket price = "
               "ticketCost, advertising = marketingFlags, freeTicketPromo, freeTickets, "
               "venueId, venueList, venue, scriptPath"},
    {"resume", "ENTBASE::RestoreClockSpeed (MtGame overrides it)"},
    {"MtGameSetTimerScale", "game/MtGame.h"},
    {"MtGameRankName", "game/MtGame.h"},
    {"MtGamePause", "game/MtGame.h"},
    {"MtGameNextDay", "game/MtGame.h"},
    {"MtGameStartDay", "game/MtGame.h"},
    {"MtGameEndOfDay", "game/MtGame.h"},
    {"MtGameSumAttrValue", "game/MtGame.h (entity, sum)"},
    {"MtGameSetDifficulty", "game/MtGame.h"},
    {"MtGameSetVenue", "game/MtGame.h"},
    {"MtGameApplyPrefs", "game/MtGame.h"},
    {"MtGameLoadPrefs", "game/MtGame.h"},
    {"MtGameNewGame", "game/MtGame.h"},
    {"MtGameHireCarny", "game/MtGame.h"},
    {"money", "MoneyCharge and MoneyAdd (game/Money.h)"},
    // ---- saves ----
    {"MtGameCareerExists", "game/MtGameSave.h"},
    {"MtGameSaveCareer", "game/MtGameSave.h"},
    {"MtGameLoadCareer", "game/MtGameSave.h"},
    {"MtGameDeleteCareer", "game/MtGameSave.h"},
    {"MtGameCareerPath", "game/MtGameSave.h"},
    {"MtGameSandboxPath", "game/MtGameSave.h"},
    {"MtGameSaveSandbox", "game/MtGameSave.h"},
    {"MtGameLoadSandbox", "game/MtGameSave.h"},
    {"MtGameDeleteSandbox", "game/MtGameSave.h"},
    {"MtGameSandboxExists", "game/MtGameSave.h"},
    {"MtGameSaveLayout", "game/MtGameSave.h"},
    {"MtGameLoadLayout", "game/MtGameSave.h"},
    {"MtGameDeleteLayout", "game/MtGameSave.h"},
    {"MtGameLayoutExists", "game/MtGameSave.h"},
    // ---- records ----
    {"Career", "game/Career.h: name, cash, venueUnlock, difficulty"},
    {"Career::Reset", "game/Career.h"},
    {"GameVals", "game/GameVals.h: cashStart*, *Cost, tier names"},
    {"GameVals::GetTier", "game/GameVals.h"},
    {"VenueInfo", "game/VenueInfo.h"},
    {"VenueInfoList::Get", "RecordList<VenueInfo>::Get"},
    {"Prefs", "game/Prefs.h: volMaster, volMusic, patronVisDist, edgeScrollSpeed"},
    // ---- people and the day's entities ----
    {"Carny", "Carny: highlighted"},
    {"CarnyStatusText", "game/Ents/Carny.h"},
    {"Rube1", "Rube1: highlighted, state, target, tickets, cash = money"},
    {"RubeChooseNeed", "game/Ents/Rube1.h"},
    {"patron flags", "Rube1::GetClassFlags / SetClassFlags"},
    {"path drawing", "g_rubeDrawPaths"},
    {"fly-up flags", "IconFlyup::GetClassFlags / SetClassFlags"},
    {"MtPowerGrid", "MtPowerGrid: supplyTotal, demandTotal"},
    {"RubeGen", "RubeGen: present"},
    // ---- the world ----
    {"CameraVantorFocusEnt", "engine/Ent3d/Ent3dBase.h"},
    {"CameraVantorFlyTo", "CameraVantorGetFlyTo (engine/Ent3d/Ent3dBase.h)"},
    {"camera links", "the viewport's \"entCamera\" (world/EntViewport.h) and the current camera "
                     "(world/CameraCurrent.h)"},
    {"CameraAttach", "CameraAttachSetMatrix (world/CameraAttach.h)"},
    {"MusicSetVolume", "world/EntMusic.h"},
    {"MusicPlayByName", "world/EntMusic.h"},
    {"EntGetRoot", "engine/EntTree.h"},
    {"ParticleSysAcquire", "world/Particles/ParticleSys.h"},
    {"GameApp::ClearScene", "engine/GameApp/GameApp.h"},
};
