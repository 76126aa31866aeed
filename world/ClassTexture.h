// Class-wide textures that a class names bare ("SunDisc"): loaded from the data folder beside the
// program under the bare name as their share key, and given back when the class goes.
#pragma once

// Program folder + "Data/" + name, shared under the key `name`; the slot, or -1 with a log line.
int WorldClassTexLoad(const char* className, const char* name);
// Gives the slot back when it is one the caller holds, and sets it to -1.
void WorldClassTexRelease(int* slot);
