// The configuration dialog's entry: the switch in the settings file, then the driver.
#include "tools/HwConfig.h"

#include "engine/DebugLog.h"
#include "engine/IniFile.h"

static HwConfigDriver s_driver = nullptr;

void HwConfigSetDriver(HwConfigDriver driver) {
    s_driver = driver;
}

const char* HwConfigSectionName() {
    return "Xq Config";
}

int HwConfigShow(HwConfigSettings* settings) {
    int run = 1;
    if (settings && settings->settingsPath) {
        // The reader is shared: close only what this call opened.
        int opened = IniOpen(settings->settingsPath);
        if (opened >= 0) {
            if (IniSetSection(HwConfigSectionName()) == 0) IniReadInt(&run, "runHwConfig", 1);
            if (opened == 0) IniClose();
        }
    }
    if (run == 0) return 1;
    if (!s_driver) {
        // The run log starts after the configuration is read: the debugger output has it.
        DbgOut("HwConfigShow: no configuration dialog in this build\n");
        return 1;
    }
    return s_driver(settings);
}
