// The default data set against the names the screens use: every picture at the texture size
// its uv rectangle implies, with its frames where the cell puts them; the thumbnails and slides;
// the full-screen pictures told apart in a screenshot; the scripts, fonts, music and records;
// and the two facts the end-to-end roads build on.
#include "game/AttrInfo.h"
#include "game/VenueInfo.h"
#include "tests/dataset/DataSetFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// How the frames of a picture show themselves at texel (4, 4) of each cell.
enum class Look {
    Frames,   // every frame opaque, nothing beside or below them
    CheckBox, // eight frames, the fourth and the eighth left empty
    Arrows,   // cursor shapes drawn from the cell's top left, open around them
    Overlay,  // one cell opaque along its top and bottom, open in the middle for the slides
};

struct Picture {
    const char* name;      // as the screens write it
    uint32_t texW, texH;   // what the uv rectangle implies; 0 x 0: a power of two holding it
    uint32_t cellW, cellH; // one frame
    uint32_t frames;       // stacked downwards from `top`
    uint32_t top = 0;      // the first frame's top row
    Look look = Look::Frames;
};

// Every picture the screens name, with the texture its uv rectangle implies (uv right 0.8916015625
// on a 913-texel panel: 1024) and the cells the screens cut from it.
const std::vector<Picture>& Pictures() {
    static const std::vector<Picture> s_pictures = {
        // Control base and buttons; the control kit.
        {"Menu\\Common\\ChkBx.dds", 0, 0, 22, 20, 8, 0, Look::CheckBox},
        {"Menu\\Common\\ButtonUp.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ButtonDown.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ButtonPageUp.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ButtonPageDown.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ZobButtonBack.dds", 0, 0, 119, 64, 3},
        {"Menu\\Common\\ZobButtonStart.dds", 0, 0, 119, 63, 3},
        {"Menu\\Common\\ZobButtonNext.dds", 0, 0, 118, 64, 3},
        {"Menu\\Common\\ZobButtonOk.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ZobButtonCancel.dds", 0, 0, 134, 56, 3},
        {"Menu\\Common\\ZobButtonDelete.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ZobButtonView.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ZobButtonHire.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ZobButtonFire.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ButtonRide.dds", 0, 0, 97, 57, 3},
        {"Menu\\Common\\ZobPurpleBackground.dds", 1024, 1024, 1024, 768, 1},
        {"Menu\\Common\\ZobPanelGenericLarge.dds", 1024, 1024, 913, 567, 1},
        {"Menu\\Common\\ZobPanelGenericLargeHeader.dds", 1024, 1024, 913, 586, 1},
        {"Menu\\Common\\ZobPanelGeneric.dds", 1024, 512, 574, 426, 1},
        {"Menu\\MidwaySelector\\ZobPanelMidwaySelector.dds", 1024, 1024, 905, 572, 1},
        {"Menu\\Common\\ZobPanelNewCareer.dds", 1024, 512, 574, 426, 1},
        {"Menu\\Common\\ZOBLogoAnimSmall.dds", 0, 0, 257, 144, 2},
        // The in-game panel's body by its uv rectangle, its lights by their cell below it.
        {"Menu\\InGame\\InGamePanel.dds", 512, 1024, 376, 418, 1},
        {"Menu\\InGame\\InGamePanel.dds", 512, 1024, 377, 102, 3, 419},
        {"Menu\\MouseCursors.dds", 32, 128, 32, 32, 4, 0, Look::Arrows},
        // The value buttons' body and arrows, in the cells decided for them.
        {"Menu\\Common\\DataBox.dds", 0, 0, 96, 28, 3},
        {"Menu\\Common\\ButtonUpArrow.dds", 0, 0, 24, 14, 3},
        {"Menu\\Common\\ButtonDownArrow.dds", 0, 0, 24, 14, 3},
        // The HUD.
        {"Menu\\Hud\\ZobHudBackground.dds", 1024, 256, 1024, 178, 1},
        {"Menu\\Hud\\ButtonBusinessReport.dds", 0, 0, 93, 49, 3},
        {"Menu\\Hud\\ButtonFairReport.dds", 0, 0, 93, 59, 3},
        {"Menu\\Hud\\ButtonManage.dds", 0, 0, 70, 68, 3},
        {"Menu\\Hud\\ButtonHelp.dds", 0, 0, 63, 52, 3},
        {"Menu\\Hud\\ZobTimeOfDayDisc.dds", 64, 64, 56, 56, 1},
        {"Menu\\Hud\\ZobTimeOfDayIconFrame.dds", 128, 128, 104, 87, 1},
        // The build catalogue.
        {"Menu\\EquipResource\\ButtonFood.dds", 0, 0, 133, 25, 3},
        {"Menu\\EquipResource\\ButtonGOC.dds", 0, 0, 145, 25, 3},
        {"Menu\\EquipResource\\ButtonRides.dds", 0, 0, 51, 26, 3},
        {"Menu\\EquipResource\\ButtonUtility.dds", 0, 0, 146, 31, 3},
        {"Menu\\EquipResource\\LockedIcon.dds", 128, 128, 96, 96, 1},
        {"Menu\\Common\\LockedIconMoney.dds", 128, 128, 96, 96, 1},
        // The splash chain and the main menu.
        {"Menu\\QuenvarSplash.dds", 1024, 1024, 1024, 768, 1},
        {"Menu\\TolvaneSplash.dds", 1024, 1024, 1024, 768, 1},
        {"Menu\\EsrbSplash.dds", 1024, 1024, 1024, 768, 1},
        {"Menu\\BrightfairSplash.dds", 1024, 1024, 1024, 768, 1},
        {"Menu\\NewCareer\\button_start.dds", 0, 0, 119, 63, 3},
        {"Menu\\Common\\ZobMainMenu.dds", 1024, 1024, 1024, 768, 1, 0, Look::Overlay},
        {"Menu\\MainMenu\\button_sandbox.dds", 0, 0, 150, 48, 3},
        {"Menu\\MainMenu\\button_careermode.dds", 0, 0, 150, 48, 3},
        {"Menu\\MainMenu\\button_options.dds", 0, 0, 150, 48, 3},
        {"Menu\\MainMenu\\button_help.dds", 0, 0, 150, 48, 3},
        {"Menu\\MainMenu\\button_quit.dds", 0, 0, 150, 48, 3},
        {"Menu\\MainMenu\\button_credits.dds", 0, 0, 150, 48, 3},
        {"Menu\\Common\\ZobLogoAnim.dds", 0, 0, 483, 272, 2},
        {"Menu\\ConfirmExit\\button_ok.dds", 0, 0, 97, 57, 3},
        {"Menu\\ConfirmExit\\button_cancel.dds", 0, 0, 134, 56, 3},
        // Profiles and career menus.
        {"Menu\\BackgroundGeneric1.dds", 1024, 1024, 1024, 768, 1},
        {"Menu\\NewCareer\\buttonEasy.dds", 0, 0, 115, 44, 3},
        {"Menu\\NewCareer\\buttonMedium.dds", 0, 0, 115, 40, 3},
        {"Menu\\NewCareer\\buttonHard.dds", 0, 0, 115, 43, 3},
        // The venue selector.
        {"Menu\\MidwaySelector\\LockedIcon.dds", 128, 128, 96, 96, 1},
        // The options pages: the panel by its uv rectangle, each tab by its button cell and by
        // the uv rectangle of its picture (0.9375 x 0.16015625 of 128 x 512: 120 x 82).
        {"Menu\\Common\\ZobPanelOptions.dds", 1024, 512, 576, 448, 1},
        {"Menu\\Options\\button_video.dds", 128, 512, 121, 83, 3},
        {"Menu\\Options\\button_audio.dds", 128, 512, 115, 80, 3},
        // The fixed load screen, the report lists and the stand-alone power list.
        {"Menu\\LoadGame\\BackgroundLoadGame.dds", 1024, 1024, 1024, 768, 1},
        {"Menu\\LoadGame\\buttonLoad.dds", 0, 0, 198, 58, 3},
        {"Menu\\LoadGame\\buttonCancel.dds", 0, 0, 134, 56, 3},
        {"Highlight.dds", 0, 0, 64, 32, 1},
        {"Menu\\HUD\\PanelGenericLarge.dds", 1024, 1024, 913, 567, 1},
        {"Menu\\EquipResource\\ButtonOK.dds", 0, 0, 97, 57, 3},
        {"Menu\\EquipResource\\ButtonUp.dds", 0, 0, 97, 57, 3},
        {"Menu\\EquipResource\\ButtonDown.dds", 0, 0, 97, 57, 3},
    };
    return s_pictures;
}

bool PowerOfTwo(uint32_t n) {
    return n && !(n & (n - 1));
}

// What is wrong with the picture's frames, or empty.
std::string CheckFrames(const DdsPicture& img, const Picture& p) {
    char where[160];
    const uint32_t end = p.top + p.frames * p.cellH;
    if (p.texW ? img.width != p.texW || img.height != p.texH
               : !PowerOfTwo(img.width) || !PowerOfTwo(img.height))
        return "texture " + std::to_string(img.width) + " x " + std::to_string(img.height);
    if (img.width < p.cellW || img.height < end) return "the frames do not fit";
    for (uint32_t k = 0; k < p.frames; ++k) {
        const uint32_t y0 = p.top + k * p.cellH, y1 = y0 + p.cellH - 1;
        const bool empty = p.look == Look::CheckBox && k % 4 == 3;
        const bool open = p.look == Look::Overlay;
        std::snprintf(where, sizeof where, "frame %u (rows %u-%u): ", k, y0, y1);
        if (empty) {
            if (img.Alpha(4, y0 + 4) != 0) return where + std::string("should be empty");
            continue;
        }
        if (p.look == Look::Arrows) {
            if (img.Alpha(4, y0 + 4) != 255) return where + std::string("no shape");
            continue;
        }
        if (img.Alpha(4, y0 + 4) != 255 || img.Alpha(p.cellW - 1, y1) != 255 ||
            img.Alpha(p.cellW - 1, y0) != 255 || img.Alpha(0, y1) != 255)
            return where + std::string("a corner of the cell is not painted");
        if (open && img.Alpha(p.cellW / 2, y0 + p.cellH / 2) != 0)
            return where + std::string("the slides cannot show through the middle");
        if (p.cellW < img.width && img.Alpha(p.cellW, y0 + 4) != 0)
            return where + std::string("painted beyond the cell's width");
    }
    if (end < img.height && img.Alpha(4, end) != 0) return "painted below the last frame";
    return "";
}

TEST(DataSet, EveryPictureTheScreensNameHoldsItsFramesAtTheImpliedSize) {
    for (const Picture& p : Pictures()) {
        const std::string file = DataFile(p.name);
        ASSERT_FALSE(file.empty()) << p.name << " is missing";
        const DdsPicture img = ReadDds(file);
        ASSERT_NE(img.width, 0u) << p.name << " is no 32-bit DDS picture";
        const std::string fault = CheckFrames(img, p);
        EXPECT_EQ(fault, "") << p.name;
    }
    // The HUD's mood icon comes from the info-icon sheet ("Menu\InfoIcons", read as a TGA): an
    // 8 x 4 grid of 32 x 32 cells.
    const std::vector<uint8_t> sheet = ReadBytes(DataFile("Menu\\InfoIcons.tga"));
    ASSERT_GE(sheet.size(), 18u) << "Menu\\InfoIcons.tga is missing";
    EXPECT_EQ(sheet[12] | sheet[13] << 8, 256);
    EXPECT_EQ(sheet[14] | sheet[15] << 8, 128);
    EXPECT_EQ(sheet[16], 32) << "bits per pixel";
}

// A 1024 x 768 picture with its own colour, so that a screenshot tells the screens apart; the
// main menu's frame shows its colour in its bands. The splashes say something in large letters;
// the backdrops the screens write on carry no lettering of their own.
TEST(DataSet, FullScreenPicturesHaveTheirOwnColourAndSplashesTheirWords) {
    std::set<uint32_t> fills;
    int pictures = 0;
    for (const Picture& p : Pictures()) {
        if (p.cellW != 1024 || p.cellH != 768) continue;
        ++pictures;
        const DdsPicture img = ReadDds(DataFile(p.name));
        ASSERT_EQ(img.width, 1024u) << p.name;
        const uint32_t fill = img.At(4, 4);
        EXPECT_TRUE(fills.insert(fill).second)
            << p.name << " shares its colour " << std::hex << fill;
        // The words: white letters at least 18 rows high across the middle.
        const std::string name = p.name;
        const bool splash = name.find("Splash") != std::string::npos;
        const uint32_t y0 = p.look == Look::Overlay ? 8 : 300, y1 = y0 + 120;
        uint32_t top = y1, bottom = 0, left = 1024, right = 0;
        for (uint32_t y = y0; y < y1; ++y)
            for (uint32_t x = 8; x < 1016; ++x)
                if ((img.At(x, y) & 0xFFFFFF) == 0xFFFFFF) {
                    top = std::min(top, y), bottom = std::max(bottom, y);
                    left = std::min(left, x), right = std::max(right, x);
                }
        if (splash) {
            EXPECT_GE(bottom + 1, top + 18) << p.name << ": no large lettering";
            EXPECT_GE(right + 1, left + 200) << p.name << ": no words across the picture";
        } else {
            EXPECT_GT(top, bottom) << p.name << ": lettering where the screen writes";
        }
        EXPECT_EQ(img.At(4, 500), p.look == Look::Overlay ? 0u : fill)
            << p.name << ": one flat colour";
    }
    EXPECT_EQ(pictures, 8);
}

// Thumbnails are 128 x 128 for every "texFileName" (the selector and the catalogue show the top
// 95 rows); each slide series has exactly three slides, since a show counts up to the first
// missing number.
TEST(DataSet, ThumbnailsAndSlideSeriesAreComplete) {
    std::unique_ptr<VenueInfoList> venues(VenueInfoList::Load(DataFile("Venue.ini").c_str()));
    std::unique_ptr<AttrInfoList> types(AttrInfoList::Load(DataFile("Data.ini").c_str()));
    std::vector<std::string> thumbnails;
    for (int i = 0; i < venues->Count(); ++i)
        thumbnails.push_back(venues->Get(i)->texFileName);
    const size_t venueThumbs = thumbnails.size();
    for (int i = 0; i < types->Count(); ++i)
        thumbnails.push_back(types->Get(i)->texFileName);
    EXPECT_GT(thumbnails.size(), venueThumbs) << "no attraction types";
    for (size_t i = 0; i < thumbnails.size(); ++i) {
        const std::string file = DataFile(thumbnails[i]);
        ASSERT_FALSE(file.empty()) << thumbnails[i] << " is missing";
        const DdsPicture img = ReadDds(file);
        EXPECT_EQ(img.width, 128u) << thumbnails[i];
        EXPECT_EQ(img.height, 128u) << thumbnails[i];
        if (i < venueThumbs && img.height == 128) {
            EXPECT_EQ(img.Alpha(64, 94), 255u) << thumbnails[i] << ": the last row shown";
        }
    }

    struct Series {
        const char* base;
        uint32_t width, height;
    };
    // The main menu's show is drawn with uv (1, 0.75) at 1024 x 768; help and credits at
    // 1024 x 512 with uv (1, 1).
    for (const Series& s :
         {Series{"Menu\\Slides\\SlideShow", 1024, 1024}, Series{"Menu\\Help\\ZobHelp", 1024, 512},
          Series{"Menu\\Credits\\ZobCredits", 1024, 512}}) {
        for (int i = 0; i < 4; ++i) {
            char name[128];
            std::snprintf(name, sizeof name, "%s%02i.dds", s.base, i);
            const std::string file = DataFile(name);
            if (i == 3) {
                EXPECT_TRUE(file.empty()) << name << ": three slides per series";
                continue;
            }
            ASSERT_FALSE(file.empty()) << name << " is missing";
            const DdsPicture img = ReadDds(file);
            EXPECT_EQ(img.width, s.width) << name;
            EXPECT_EQ(img.height, s.height) << name;
        }
    }
}

// Every script the screens run compiles and gives the screen its Create; the six fonts, the
// menu and venue music and the two record files are there.
TEST(DataSet, ScriptsFontsMusicAndRecordsArePresent) {
    const char* const menuScripts[] = {
        "Menu\\MenuPublisher.lua",
        "Menu\\MenuTolvane.lua",
        "Menu\\MenuEsrb.lua",
        "Menu\\MenuSplash.lua",
        "Menu\\Attractor\\MenuAttractor.lua",
        "Menu\\MainMenu\\MenuMain.lua",
        "Menu\\Credits\\MenuCredits.lua",
        "Menu\\ConfirmExit\\MenuConfirmExit.lua",
        "Menu\\ConfirmExit\\MenuConfirmGeneric.lua",
        "Menu\\ConfirmExit\\MenuInGameConfirm.lua",
        "Menu\\ChooseProfile\\MenuChooseProfile.lua",
        "Menu\\NewCareer\\MenuNewCareer.lua",
        "Menu\\Sandbox\\MenuSandbox.lua",
        "Menu\\MidwaySelector\\MenuMidwaySelector.lua",
        "Menu\\Options\\MenuAudio.lua",
        "Menu\\Options\\MenuVideo.lua",
        "Menu\\MenuGameRunning.lua",
        "Menu\\EquipResource\\EquipResource.lua",
        "Menu\\InGame\\MenuInGame.lua",
        "Menu\\InGame\\MenuReports.lua",
        "Menu\\Help\\MenuHelp.lua",
        "Menu\\LoadSandbox\\MenuLoadSandbox.lua",
        "Menu\\LoadGame\\MenuLoadGame.lua",
    };
    for (const char* name : menuScripts) {
        const std::string file = DataFile(name);
        if (file.empty()) {
            ADD_FAILURE() << name << " is missing";
            continue;
        }
        EXPECT_EQ(ScriptFault(file, true), "") << name;
    }
    const std::string startup = DataFile("Startup.lua");
    ASSERT_FALSE(startup.empty()) << "Startup.lua is missing";
    EXPECT_EQ(ScriptFault(startup, false), "");

    for (const char* font :
         {"Georgia_26", "Georgia_20", "Georgia_16", "Georgia_14", "Arial_12b", "CourierNew9o"})
        for (const char* ext : {".abc", ".tga"}) {
            const std::string name = std::string("Fonts\\") + font + ext;
            const std::string file = DataFile(name);
            EXPECT_FALSE(file.empty() || ReadBytes(file).empty()) << name << " is missing";
        }

    // The menus' loop, and each venue's own music, which the HUD plays.
    std::vector<std::string> tunes = {"Music\\MenuLoop.ogg"};
    std::unique_ptr<VenueInfoList> venues(VenueInfoList::Load(DataFile("Venue.ini").c_str()));
    for (int i = 0; i < venues->Count(); ++i)
        if (venues->Get(i)->musicFile[0]) tunes.push_back(venues->Get(i)->musicFile);
    for (const std::string& tune : tunes) {
        const std::vector<uint8_t> music = ReadBytes(DataFile(tune));
        EXPECT_GT(music.size(), 4096u) << tune << " is missing or empty";
        EXPECT_TRUE(music.size() > 4 && std::string(music.begin(), music.begin() + 4) == "OggS")
            << tune << " is no Ogg stream";
    }

    for (const char* records : {"Data.ini", "Venue.ini"})
        EXPECT_FALSE(DataFile(records).empty()) << records << " is missing";
}

// The roads played end to end rest on two facts of the records: a choice of at least three
// venues, and a first type in the catalogue's opening category (Utility) that takes no money in
// and costs none by the hour, so the day's end figure is the opening cash less rent, bills and
// its deposit.
TEST(DataSet, TheRoadsPremisesHold) {
    std::unique_ptr<VenueInfoList> venues(VenueInfoList::Load(DataFile("Venue.ini").c_str()));
    EXPECT_GE(venues->Count(), 3);

    constexpr int32_t kUtility = 4; // the catalogue's category when it first opens
    std::unique_ptr<AttrInfoList> types(AttrInfoList::Load(DataFile("Data.ini").c_str()));
    const AttrInfo* first = nullptr;
    for (int i = 0; i < types->Count() && !first; ++i)
        if (types->Get(i)->attrType == kUtility) first = types->Get(i);
    ASSERT_TRUE(first) << "no utility";
    EXPECT_EQ(first->defTicketPrice, 0) << "it charges tickets";
    EXPECT_EQ(first->needs[NEED_TICKET], 0.0f) << "it sells tickets";
    EXPECT_EQ(first->idleCost, 0);
    EXPECT_EQ(first->peakCost, 0);
    EXPECT_GT(first->deposit, 0) << "the placement must show in the cash";
}

} // namespace
