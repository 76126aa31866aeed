// The control art the game ships: every button, panel, cursor and full-screen picture, one row
// each.
#include "datagen/Interface/InterfaceArt.h"

namespace {

constexpr uint32_t kLogoFill = 0xFF9C2838u;

} // namespace

const std::vector<ArtRow>& ArtTable() {
    static const std::vector<ArtRow> s_rows = {
        {"Menu/Common/ChkBx.dds", 32, 256, 22, 20, 8, "X", 10, ArtKind::CheckBox},
        {"Menu/Common/DataBox.dds", 128, 128, 96, 28, 3, "", 0, ArtKind::Strip},
        {"Menu/Common/ButtonUpArrow.dds", 32, 64, 24, 14, 3, "+", 8, ArtKind::Strip},
        {"Menu/Common/ButtonDownArrow.dds", 32, 64, 24, 14, 3, "-", 8, ArtKind::Strip},
        // The control kit's buttons, each captioned with what it does.
        {"Menu/Common/ZobButtonOk.dds", 128, 256, 97, 57, 3, "OK", 14, ArtKind::Strip},
        {"Menu/Common/ButtonUp.dds", 128, 256, 97, 57, 3, "Up", 14, ArtKind::Strip},
        {"Menu/Common/ButtonDown.dds", 128, 256, 97, 57, 3, "Down", 14, ArtKind::Strip},
        {"Menu/Common/ButtonPageUp.dds", 128, 256, 97, 57, 3, "Page Up", 14, ArtKind::Strip},
        {"Menu/Common/ButtonPageDown.dds", 128, 256, 97, 57, 3, "Page Down", 14, ArtKind::Strip},
        {"Menu/Common/ZobButtonBack.dds", 128, 256, 119, 64, 3, "Back", 16, ArtKind::Strip},
        {"Menu/Common/ZobButtonStart.dds", 128, 256, 119, 63, 3, "Start", 16, ArtKind::Strip},
        {"Menu/Common/ZobButtonNext.dds", 128, 256, 118, 64, 3, "Next", 16, ArtKind::Strip},
        {"Menu/Common/ZobButtonCancel.dds", 256, 256, 134, 56, 3, "Cancel", 16, ArtKind::Strip},
        {"Menu/Common/ZobButtonDelete.dds", 128, 256, 97, 57, 3, "Delete", 14, ArtKind::Strip},
        {"Menu/Common/ZobButtonView.dds", 128, 256, 97, 57, 3, "View", 14, ArtKind::Strip},
        {"Menu/Common/ZobButtonHire.dds", 128, 256, 97, 57, 3, "Hire", 14, ArtKind::Strip},
        {"Menu/Common/ZobButtonFire.dds", 128, 256, 97, 57, 3, "Fire", 14, ArtKind::Strip},
        {"Menu/Common/ButtonRide.dds", 128, 256, 97, 57, 3, "Ride", 14, ArtKind::Strip},
        // Panels: the cell is the rectangle the kit's uv values select. The screens write on them,
        // so they carry no words of their own.
        {"Menu/Common/ZobPanelGenericLarge.dds", 1024, 1024, 913, 567, 1, "", 0,
         ArtKind::TextPanel},
        {"Menu/Common/ZobPanelGenericLargeHeader.dds", 1024, 1024, 913, 586, 1, "", 0,
         ArtKind::TextPanel},
        {"Menu/MidwaySelector/ZobPanelMidwaySelector.dds", 1024, 1024, 905, 572, 1, "", 0,
         ArtKind::TextPanel},
        {"Menu/Common/ZobPanelGeneric.dds", 1024, 512, 574, 426, 1, "", 0, ArtKind::TextPanel},
        {"Menu/Common/ZobPanelNewCareer.dds", 1024, 512, 574, 426, 1, "", 0, ArtKind::TextPanel},
        {"Menu/Common/ZOBLogoAnimSmall.dds", 512, 512, 257, 144, 2, "Fairlark", 40, ArtKind::Logo,
         0, kLogoFill},
        // The body in rows 0-417, the three lights frames of 102 rows from row 419.
        {"Menu/InGame/InGamePanel.dds", 512, 1024, 377, 102, 3, "", 0, ArtKind::InGame, 419},
        {"Menu/MouseCursors.dds", 32, 128, 32, 32, 4, "", 0, ArtKind::Cursor},
        // The front end's backgrounds, the difficulty buttons and the confirmation's buttons.
        {"Menu/Common/ZobPurpleBackground.dds", 1024, 1024, 1024, 768, 1, "", 0, ArtKind::Screen, 0,
         kArtBackdropFill},
        {"Menu/BackgroundGeneric1.dds", 1024, 1024, 1024, 768, 1, "", 0, ArtKind::Screen, 0,
         0xFF6E5A28u},
        {"Menu/NewCareer/buttonEasy.dds", 128, 256, 115, 44, 3, "Easy", 16, ArtKind::Strip},
        {"Menu/NewCareer/buttonMedium.dds", 128, 128, 115, 40, 3, "Medium", 16, ArtKind::Strip},
        {"Menu/NewCareer/buttonHard.dds", 128, 256, 115, 43, 3, "Hard", 16, ArtKind::Strip},
        {"Menu/ConfirmExit/button_ok.dds", 128, 256, 97, 57, 3, "Yes", 16, ArtKind::Strip},
        {"Menu/ConfirmExit/button_cancel.dds", 256, 256, 134, 56, 3, "No", 16, ArtKind::Strip},
        // The reports: the list's highlight bar, and the stand-alone power list's own panel and
        // buttons (its Up and Down share the common buttons' titles, so their bytes too).
        {"Highlight.dds", 64, 32, 64, 32, 1, "", 0, ArtKind::Panel},
        {"Menu/HUD/PanelGenericLarge.dds", 1024, 1024, 913, 567, 1, "", 0, ArtKind::TextPanel},
        {"Menu/EquipResource/ButtonOK.dds", 128, 256, 97, 57, 3, "OK", 14, ArtKind::Strip},
        {"Menu/EquipResource/ButtonUp.dds", 128, 256, 97, 57, 3, "Up", 14, ArtKind::Strip},
        {"Menu/EquipResource/ButtonDown.dds", 128, 256, 97, 57, 3, "Down", 14, ArtKind::Strip},
        // The options pages: the shared panel (uv 0.5625 x 0.875) and the two tabs (the button's
        // cell, the picture's uv); their background is the front end's, above.
        {"Menu/Common/ZobPanelOptions.dds", 1024, 512, 576, 448, 1, "", 0, ArtKind::TextPanel},
        {"Menu/Options/button_video.dds", 128, 512, 121, 83, 3, "Video", 16, ArtKind::Strip},
        {"Menu/Options/button_audio.dds", 128, 512, 115, 80, 3, "Audio", 16, ArtKind::Strip},
        // The fixed load screen: its backdrop and its two buttons.
        {"Menu/LoadGame/BackgroundLoadGame.dds", 1024, 1024, 1024, 768, 1, "", 0, ArtKind::Screen,
         0, 0xFF28606Eu},
        {"Menu/LoadGame/buttonLoad.dds", 256, 256, 198, 58, 3, "Load", 16, ArtKind::Strip},
        {"Menu/LoadGame/buttonCancel.dds", 256, 256, 134, 56, 3, "Cancel", 16, ArtKind::Strip},
        // The venue selector's lock, drawn 96 x 96 over a venue's thumbnail.
        {"Menu/MidwaySelector/LockedIcon.dds", 128, 128, 96, 96, 1, "", 0, ArtKind::Lock},
        // The build catalogue: its four category strips, its lock (the venue selector's row again,
        // so the same bytes) and the money icon over a type the cash cannot cover.
        {"Menu/EquipResource/ButtonFood.dds", 256, 128, 133, 25, 3, "Food", 14, ArtKind::Strip},
        {"Menu/EquipResource/ButtonGOC.dds", 256, 128, 145, 25, 3, "Games", 14, ArtKind::Strip},
        {"Menu/EquipResource/ButtonRides.dds", 64, 128, 51, 26, 3, "Rides", 14, ArtKind::Strip},
        {"Menu/EquipResource/ButtonUtility.dds", 256, 128, 146, 31, 3, "Utility", 14,
         ArtKind::Strip},
        {"Menu/EquipResource/LockedIcon.dds", 128, 128, 96, 96, 1, "", 0, ArtKind::Lock},
        {"Menu/Common/LockedIconMoney.dds", 128, 128, 96, 96, 1, "$", 24, ArtKind::Panel},
        // The in-game HUD: its backdrop across the top, its four buttons and the clock, in the one
        // folder the reports' panel shares (the HUD names it "Menu\Hud\...").
        {"Menu/HUD/ZobHudBackground.dds", 1024, 256, 1024, 178, 1, "", 0, ArtKind::Panel},
        {"Menu/HUD/ButtonBusinessReport.dds", 128, 256, 93, 49, 3, "Menu", 16, ArtKind::Strip},
        {"Menu/HUD/ButtonFairReport.dds", 128, 256, 93, 59, 3, "Equipment", 16, ArtKind::Strip},
        {"Menu/HUD/ButtonManage.dds", 128, 256, 70, 68, 3, "Reports", 16, ArtKind::Strip},
        {"Menu/HUD/ButtonHelp.dds", 64, 256, 63, 52, 3, "Help", 16, ArtKind::Strip},
        {"Menu/HUD/ZobTimeOfDayDisc.dds", 64, 64, 56, 56, 1, "", 0, ArtKind::Dial},
        {"Menu/HUD/ZobTimeOfDayIconFrame.dds", 128, 128, 104, 87, 1, "", 0, ArtKind::Ring},
        // The front end's full-screen pictures: 1024 x 768 in the top of a 1024 x 1024 texture.
        {"Menu/QuenvarSplash.dds", 1024, 1024, 1024, 768, 1, "The Fairlark project presents", 40,
         ArtKind::Screen, 0, 0xFF2848A0u},
        {"Menu/TolvaneSplash.dds", 1024, 1024, 1024, 768, 1, "Made with free software", 40,
         ArtKind::Screen, 0, 0xFF20905Cu},
        {"Menu/EsrbSplash.dds", 1024, 1024, 1024, 768, 1, "For everyone", 40, ArtKind::Screen, 0,
         0xFFA09828u},
        {"Menu/BrightfairSplash.dds", 1024, 1024, 1024, 768, 1, "Fairlark", 72, ArtKind::Screen, 0,
         0xFFA8502Cu},
        // Drawn over the main menu's slides, which show through between its bands.
        {"Menu/Common/ZobMainMenu.dds", 1024, 1024, 1024, 768, 1, "", 0, ArtKind::Overlay, 0,
         0xFF301040u},
        // The main menu's buttons: three 150 x 48 frames each.
        {"Menu/MainMenu/button_sandbox.dds", 256, 256, 150, 48, 3, "Sandbox", 16, ArtKind::Strip},
        {"Menu/MainMenu/button_careermode.dds", 256, 256, 150, 48, 3, "Career", 16, ArtKind::Strip},
        {"Menu/MainMenu/button_options.dds", 256, 256, 150, 48, 3, "Options", 16, ArtKind::Strip},
        {"Menu/MainMenu/button_help.dds", 256, 256, 150, 48, 3, "Help", 16, ArtKind::Strip},
        {"Menu/MainMenu/button_quit.dds", 256, 256, 150, 48, 3, "Quit", 16, ArtKind::Strip},
        {"Menu/MainMenu/button_credits.dds", 256, 256, 150, 48, 3, "Credits", 16, ArtKind::Strip},
        {"Menu/Common/ZobLogoAnim.dds", 512, 1024, 483, 272, 2, "Fairlark", 72, ArtKind::Logo, 0,
         kLogoFill},
        {"Menu/NewCareer/button_start.dds", 128, 256, 119, 63, 3, "Start", 16, ArtKind::Strip},
    };
    return s_rows;
}
