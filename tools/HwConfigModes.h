// The video page's rules: the folded mode list, which line is selected, the format names, the
// best depth format and the adapter information text.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct D3DCAPS8;
struct D3DDISPLAYMODE;
struct HwConfigData;

struct HwConfigMode {
    int width;
    int height;
    int format;
};

// The list keeps at most this many distinct width x height x format triples.
constexpr int kHwConfigMaxModes = 120;

// The dialog's own name of a Direct3D format code ("32bit" for 22), "UNKNOWN" for any other.
const char* HwConfigFormatName(int format);

// The adapter's modes in order, refresh rates folded together; past kHwConfigMaxModes the rest
// are dropped with one line on the debugger output.
std::vector<HwConfigMode> HwConfigFoldModes(const std::vector<D3DDISPLAYMODE>& modes);

// "%i x %i  %s": width, height, format name.
std::string HwConfigModeLine(const HwConfigMode& mode);

// The first line equal to hRes x vRes in `format`, else line 0; -1 for an empty list.
int HwConfigSelectMode(const std::vector<HwConfigMode>& modes, int hRes, int vRes, int format);

// Closing the video page: hRes, vRes and format from the selected line. With no line selected
// (an empty list) the loaded values stay.
void HwConfigApplyMode(HwConfigData* data, const std::vector<HwConfigMode>& modes, int selected);

// The first of D32, D24S8, D24X4S4, D24X8, D15S1, D16 that `accepts` (a depth format code) takes,
// or -1 when none.
int HwConfigBestDepth(const std::function<bool(int depthFormat)>& accepts);

// "- Hardware T&L:Yes\n- Texture:%ix%i\n- Blending Stages:%i\n- Simul Textures:%i\n- Best
// Depth:%s", with the warning lines in place of the first when the caps lack hardware T&L or
// (null caps) could not be read.
std::string HwConfigInfoText(const D3DCAPS8* caps, int bestDepth);
