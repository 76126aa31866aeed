// The start-up configuration dialog as the application calls it: unless the settings file
// switches it off, the dialog may change the video settings or stop the start-up. The dialog
// itself is a driver that its unit installs; until one is linked in, start-up goes on.
#pragma once

// What the application hands to the dialog.
struct HwConfigSettings {
    void* instance;           // the module handle
    const char* settingsPath; // the settings file ("Config.ini")
    const char* appName;      // "Xq App"
};

// The dialog: 0 when start-up must stop, nonzero to go on.
using HwConfigDriver = int (*)(HwConfigSettings* settings);
// Null removes the driver.
void HwConfigSetDriver(HwConfigDriver driver);

// The section of the settings file that holds the video keys: "Xq Config".
const char* HwConfigSectionName();

// With "runHwConfig" (default 1) at 0 in that section, 1 at once. Otherwise the driver's answer,
// or 1 with the line "HwConfigShow: no configuration dialog in this build" on the debugger
// output when there is no driver.
int HwConfigShow(HwConfigSettings* settings);
