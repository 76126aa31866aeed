// The start-up configuration dialog as the application calls it: unless the settings file
// switches it off, the dialog may change the video settings or stop the start-up. The dialog
// itself is a driver that its unit installs; until one is linked in, start-up goes on.
#pragma once

// What the application hands to the dialog.
struct HwConfigSettings {
    void* instance;           // the module handle
    const char* settingsPath; // the settings file ("Config.ini")
    const char* appName;      // "Xq App"
    const char* bannerImage;  // the banner picture, when the settings file names none
    void* ownerWindow;        // the window the dialog belongs to; null here
};

// The dialog: 0 when start-up must stop, nonzero to go on.
using HwConfigDriver = int (*)(HwConfigSettings* settings);
// Null removes the driver.
void HwConfigSetDriver(HwConfigDriver driver);

// The section of the settings file that holds the video keys: "Xq Config".
const char* HwConfigSectionName();
// The dialog window's title: "Xq Config".
const char* HwConfigCaption();

// With "runHwConfig" (default 1) at 0 in that section, 1 at once. Otherwise the driver's answer,
// or 1 with the line "HwConfigShow: no configuration dialog in this build" on the debugger
// output when there is no driver.
int HwConfigShow(HwConfigSettings* settings);

// The configuration dialog itself, the driver the program installs: reads the adapter and the
// settings, shows the dialog in a window of its own and writes every key back, whatever ended it.
// 1 for "Play Game", 0 for "Exit", the window's close or no usable GL ("DirectX 8 Required").
// Without a settings path, 1 at once with one line and nothing written.
int HwConfigRun(HwConfigSettings* settings);
