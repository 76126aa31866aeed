// The program's icon is drawn here rather than read from the data folder: the window opens
// before the data folder is known, and the icon belongs to the program, not to a venue's data.
#include "engine/App/AppIcon.h"

#include <SDL.h>

#include <cstdint>
#include <cstdlib>

namespace {
constexpr int kSize = 32;
constexpr uint32_t kClear = 0x00000000u, kRed = 0xFFD02828u, kWhite = 0xFFF4F0E8u,
                   kDoor = 0xFF3A2414u, kPole = 0xFF5A5A5Au, kFlag = 0xFFF0C020u;

uint32_t Stripe(int x) {
    return (x / 4) % 2 ? kWhite : kRed;
}

// A peaked roof over a straight-walled body with a dark doorway, a pennant on top.
uint32_t Pixel(int x, int y) {
    if (x == 16 && y < 4) return kPole;
    if (y < 3 && x > 16 && x <= 16 + (3 - y) * 2) return kFlag;
    if (y >= 4 && y < 14 && std::abs(2 * x - 32) <= (y - 3) * 28 / 10) return Stripe(x);
    if (y >= 14 && y < 29 && x >= 5 && x <= 26)
        return (x >= 13 && x <= 18 && y >= 19) ? kDoor : Stripe(x);
    return kClear;
}
} // namespace

void AppIconApply(SDL_Window* window) {
    if (!window) return;
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_LockSurface(icon);
    for (int y = 0; y < kSize; ++y) {
        auto* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(icon->pixels) + y * icon->pitch);
        for (int x = 0; x < kSize; ++x)
            row[x] = Pixel(x, y);
    }
    SDL_UnlockSurface(icon);
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}
