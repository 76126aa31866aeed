// Every line of what the menus use of the simulation and the world resolves to its owner: each
// check names the symbol or field (so a rename fails to compile), and the table and the checks
// must cover each other.
#include "tests/ui/MenuServices.h"

#include "engine/GameApp/GameApp.h"
#include "game/MtGameHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {
template <class T>
bool Has(T pointer) {
    return pointer != nullptr;
}

const std::map<std::string, std::function<bool()>>& Checks() {
    static const std::map<std::string, std::function<bool()>> checks = {
        {"GameGrid",
         [] {
             return Has(&GameGridCore::originX) && Has(&GameGridCore::originZ) &&
                    Has(&GameGridCore::tileWidth) && Has(&GameGridCore::tileHeight) &&
                    Has(&GameGridCore::cols) && Has(&GameGridCore::rows) &&
                    Has(&GameGridCore::cells) && Has(&GameGridCore::showAll) &&
                    Has(&GameGridCore::cursorX) && Has(&GameGridCore::cursorZ) &&
                    Has(&GameGridCore::footWidth) && Has(&GameGridCore::footHeight) &&
                    Has(&GameGridCore::showFootprint);
         }},
        {"GameGridPick", [] { return Has(&GameGridPick); }},
        {"GameGridWorldToCell", [] { return Has(&GameGridWorldToCell); }},
        {"GameGridRectFree", [] { return Has(&GameGridRectFree); }},
        {"GameGridMarkRect", [] { return Has(&GameGridMarkRect); }},
        {"AttrBase",
         [] {
             return Has(&AttrBase::info) && Has(&AttrBase::type) && Has(&AttrBase::closed) &&
                    Has(&AttrBase::repairMe) && Has(&AttrBase::broken) && Has(&AttrBase::repair) &&
                    Has(&AttrBase::agl) && Has(&AttrBase::ticketPrice) &&
                    Has(&AttrBase::highlighted) && Has(&AttrBase::seats);
         }},
        {"AttrBaseValue", [] { return Has(&AttrBaseValue); }},
        {"AttrBaseSetClosed", [] { return Has(&AttrBaseSetClosed); }},
        {"AttrBaseQueueCount", [] { return Has(&AttrBaseQueueCount); }},
        {"AttrBaseRiderCount", [] { return Has(&AttrBaseRiderCount); }},
        {"AttrBaseGetModel", [] { return Has(&AttrBaseRideCamCount); }},
        {"AttrInfo", [] { return sizeof(AttrInfo) > 0; }},
        {"AttrInfoList::Get", [] { return Has(&AttrInfoList::Get); }},
        {"AttrInfoList::IndexOf", [] { return Has(&AttrInfoList::IndexOf); }},
        {"MtGame",
         [] {
             return Has(&MtGame::cash) && Has(&Career::cash) && Has(&MtGame::onDeposit) &&
                    Has(&MtGame::mode) && Has(&MtGame::showHourlyReport) &&
                    Has(&MtGame::gameTime) && Has(&MtGame::dayOver) &&
                    Has(&MtGame::chargeCostsPending) && Has(&MtGame::career) &&
                    Has(&MtGame::gameVals) && Has(&MtGame::prefs) && Has(&MtGame::ticketCost) &&
                    Has(&MtGame::marketingFlags) && Has(&MtGame::freeTicketPromo) &&
                    Has(&MtGame::freeTickets) && Has(&MtGame::venueId) && Has(&MtGame::venueList) &&
                    Has(&MtGame::venue) && Has(&MtGame::scriptPath);
         }},
        {"resume", [] { return Has(&MtGame::RestoreClockSpeed); }},
        {"MtGameSetTimerScale", [] { return Has(&MtGameSetTimerScale); }},
        {"MtGameRankName", [] { return Has(&MtGameRankName); }},
        {"MtGamePause", [] { return Has(&MtGamePause); }},
        {"MtGameNextDay", [] { return Has(&MtGameNextDay); }},
        {"MtGameStartDay", [] { return Has(&MtGameStartDay); }},
        {"MtGameEndOfDay", [] { return Has(&MtGameEndOfDay); }},
        {"MtGameSumAttrValue", [] { return Has(&MtGameSumAttrValue); }},
        {"MtGameSetDifficulty", [] { return Has(&MtGameSetDifficulty); }},
        {"MtGameSetVenue", [] { return Has(&MtGameSetVenue); }},
        {"MtGameApplyPrefs", [] { return Has(&MtGameApplyPrefs); }},
        {"MtGameLoadPrefs", [] { return Has(&MtGameLoadPrefs); }},
        {"MtGameNewGame", [] { return Has(&MtGameNewGame); }},
        {"MtGameHireCarny", [] { return Has(&MtGameHireCarny); }},
        {"money", [] { return Has(&MoneyCharge) && Has(&MoneyAdd); }},
        {"MtGameCareerExists", [] { return Has(&MtGameCareerExists); }},
        {"MtGameSaveCareer", [] { return Has(&MtGameSaveCareer); }},
        {"MtGameLoadCareer", [] { return Has(&MtGameLoadCareer); }},
        {"MtGameDeleteCareer", [] { return Has(&MtGameDeleteCareer); }},
        {"MtGameCareerPath", [] { return Has(&MtGameCareerPath); }},
        {"MtGameSandboxPath", [] { return Has(&MtGameSandboxPath); }},
        {"MtGameSaveSandbox", [] { return Has(&MtGameSaveSandbox); }},
        {"MtGameLoadSandbox", [] { return Has(&MtGameLoadSandbox); }},
        {"MtGameDeleteSandbox", [] { return Has(&MtGameDeleteSandbox); }},
        {"MtGameSandboxExists", [] { return Has(&MtGameSandboxExists); }},
        {"MtGameSaveLayout", [] { return Has(&MtGameSaveLayout); }},
        {"MtGameLoadLayout", [] { return Has(&MtGameLoadLayout); }},
        {"MtGameDeleteLayout", [] { return Has(&MtGameDeleteLayout); }},
        {"MtGameLayoutExists", [] { return Has(&MtGameLayoutExists); }},
        {"Career",
         [] {
             return Has(&Career::name) && Has(&Career::cash) && Has(&Career::venueUnlock) &&
                    Has(&Career::difficulty);
         }},
        {"Career::Reset", [] { return Has(&Career::Reset); }},
        {"GameVals", [] { return sizeof(GameVals) > 0; }},
        {"GameVals::GetTier", [] { return Has(&GameVals::GetTier); }},
        {"VenueInfo", [] { return sizeof(VenueInfo) > 0; }},
        {"VenueInfoList::Get", [] { return Has(&VenueInfoList::Get); }},
        {"Prefs", [] { return sizeof(Prefs) > 0; }},
        {"Carny", [] { return Has(&Carny::highlighted); }},
        {"CarnyStatusText", [] { return Has(&CarnyStatusText); }},
        {"Rube1",
         [] {
             return Has(&Rube1::highlighted) && Has(&Rube1::state) && Has(&Rube1::target) &&
                    Has(&Rube1::tickets) && Has(&Rube1::money);
         }},
        {"RubeChooseNeed", [] { return Has(&RubeChooseNeed); }},
        {"patron flags", [] { return Has(&Rube1::GetClassFlags) && Has(&Rube1::SetClassFlags); }},
        {"path drawing", [] { return Has(&g_rubeDrawPaths); }},
        {"fly-up flags",
         [] { return Has(&IconFlyup::GetClassFlags) && Has(&IconFlyup::SetClassFlags); }},
        {"MtPowerGrid",
         [] { return Has(&MtPowerGrid::supplyTotal) && Has(&MtPowerGrid::demandTotal); }},
        {"RubeGen", [] { return Has(&RubeGen::present); }},
        {"CameraVantorFocusEnt", [] { return Has(&CameraVantorFocusEnt); }},
        {"CameraVantorFlyTo", [] { return Has(&CameraVantorGetFlyTo); }},
        {"camera links",
         [] {
             return Has(&EntViewport::camera) && Has(&CameraSetCurrent) && Has(&CameraGetCurrent);
         }},
        {"CameraAttach", [] { return Has(&CameraAttachSetMatrix); }},
        {"MusicSetVolume", [] { return Has(&MusicSetVolume); }},
        {"MusicPlayByName", [] { return Has(&MusicPlayByName); }},
        {"EntGetRoot", [] { return Has(&EntGetRoot); }},
        {"ParticleSysAcquire", [] { return Has(&ParticleSysAcquire); }},
        {"GameApp::ClearScene", [] { return Has(&GameApp::ClearScene); }},
    };
    return checks;
}

TEST(MenuServices, EveryLineResolvesToItsOwner) {
    std::set<std::string> lines;
    for (const MenuServiceLine& s : kMenuServices) {
        EXPECT_TRUE(lines.insert(s.line).second) << s.line << " is listed twice";
        EXPECT_NE(std::string(s.owner), "") << s.line << " names no owner";
        auto check = Checks().find(s.line);
        ASSERT_NE(check, Checks().end()) << s.line << " has no check";
        EXPECT_TRUE(check->second()) << s.line;
    }
    for (const auto& [line, check] : Checks())
        EXPECT_TRUE(lines.count(line)) << line << " is checked but missing from the table";
}

// The clock speeds the game object asks for.
class SpeedHost : public MtGameHost {
  public:
    void SetClockSpeed(float factor) override { speeds.push_back(factor); }
    std::string DataFolder() override { return ""; }
    std::string ProgramFolder() override { return ""; }
    int RunScriptFile(const char*) override { return -1; }
    std::vector<float> speeds;
};

TEST(MenuServices, RankNameAndResumeSpotChecks) {
    MtGame game;
    EXPECT_EQ(std::u16string(MtGameRankName(&game, 20000)), u"Commander");

    SpeedHost host;
    MtGameHost* old = MtGameGetHost();
    MtGameSetHost(&host);
    game.timerScale = 3.0f;
    MtGamePause(&game);
    static_cast<ENTBASE&>(game).RestoreClockSpeed(); // as a menu calls it, through ENTBASE
    MtGameSetHost(old);
    ASSERT_EQ(host.speeds.size(), 2u);
    EXPECT_EQ(host.speeds[0], 0.0f) << "the pause did not stop the clock";
    EXPECT_EQ(host.speeds[1], 3.0f) << "the resume did not restore the stored speed";
}

} // namespace
