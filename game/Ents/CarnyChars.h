// The carnies' class-wide characters: the male and female models ("CarnyMale.xml" and
// "CarnyFemale.xml") and three skins of each, loaded while any carny holds them and only once
// the render kernel has a device. Headless nothing loads and every answer is null or -1.
#pragma once

#include <cstdint>

class CharModel;

// One holder more; the first with a device loads the models and skins. False (nothing held)
// without a device.
bool CarnyCharsAcquire();
// One holder less; the last releases everything.
void CarnyCharsRelease();
int CarnyCharsHolders();
// The model of kind 0 (male) or 1 (female); null when it is not loaded.
CharModel* CarnyCharModel(int kind);
// The texture slot of skin 0..2 of that kind; -1 when it is not loaded.
int32_t CarnyCharSkin(int kind, int skin);
