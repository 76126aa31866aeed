// The video page's rules, apart from the widgets that show them.
#include "tools/HwConfigModes.h"

#include "I3d/Device.h"
#include "engine/DebugLog.h"
#include "tools/HwConfigData.h"

#include <cstdio>

const char* HwConfigFormatName(int format) {
    switch (format) {
        case 20: return "RGB 888";
        case 21: return "ARGB 8888";
        case 22: return "32bit";
        case 23: return "16bit";
        case 24: return "XRGB 1555";
        case 25: return "ARGB 1555";
        case 26: return "ARGB 4444";
        case 27: return "RGB 332";
        case 71: return "D32";
        case 73: return "D15D1";
        case 75: return "D24S8";
        case 77: return "D24X8";
        case 79: return "S24X4S4";
        case 80: return "D16";
        default: return "UNKNOWN";
    }
}

std::vector<HwConfigMode> HwConfigFoldModes(const std::vector<D3DDISPLAYMODE>& modes) {
    std::vector<HwConfigMode> out;
    for (const D3DDISPLAYMODE& m : modes) {
        const HwConfigMode mode{(int)m.Width, (int)m.Height, (int)m.Format};
        bool listed = false;
        for (const HwConfigMode& o : out)
            listed |= o.width == mode.width && o.height == mode.height && o.format == mode.format;
        if (listed) continue;
        if ((int)out.size() == kHwConfigMaxModes) {
            DbgOut("HwConfig: the adapter lists more than %d modes; the rest are left out\n",
                   kHwConfigMaxModes);
            break;
        }
        out.push_back(mode);
    }
    return out;
}

std::string HwConfigModeLine(const HwConfigMode& mode) {
    char line[96];
    std::snprintf(line, sizeof line, "%i x %i  %s", mode.width, mode.height,
                  HwConfigFormatName(mode.format));
    return line;
}

int HwConfigSelectMode(const std::vector<HwConfigMode>& modes, int hRes, int vRes, int format) {
    if (modes.empty()) return -1;
    for (size_t i = 0; i < modes.size(); ++i)
        if (modes[i].width == hRes && modes[i].height == vRes && modes[i].format == format)
            return (int)i;
    return 0;
}

void HwConfigApplyMode(HwConfigData* data, const std::vector<HwConfigMode>& modes, int selected) {
    if (!data || selected < 0 || selected >= (int)modes.size()) return;
    data->hRes = modes[selected].width;
    data->vRes = modes[selected].height;
    data->format = modes[selected].format;
}

int HwConfigBestDepth(const std::function<bool(int depthFormat)>& accepts) {
    for (int f : {71, 75, 79, 77, 73, 80})
        if (accepts && accepts(f)) return f;
    return -1;
}

std::string HwConfigInfoText(const D3DCAPS8* caps, int bestDepth) {
    const char* first =
        !caps ? "*** WARNING ***\nNo HAL device found!\r\nDO NOT USE\nTHIS DEVICE\r\n"
        : (caps->DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) ? "Hardware T&L:Yes"
                                                           : "*** WARNING *** No hardware T&L!";
    const int texW = caps ? (int)caps->MaxTextureWidth : 0;
    const int texH = caps ? (int)caps->MaxTextureHeight : 0;
    const int stages = caps ? (int)caps->MaxTextureBlendStages : 0;
    const int simul = caps ? (int)caps->MaxSimultaneousTextures : 0;
    char text[512];
    std::snprintf(
        text, sizeof text,
        "- %s\n- Texture:%ix%i\n- Blending Stages:%i\n- Simul Textures:%i\n- Best Depth:%s", first,
        texW, texH, stages, simul, HwConfigFormatName(bestDepth));
    return text;
}
