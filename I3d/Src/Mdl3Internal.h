// What the model sources share among themselves: the title rule, the model list and the file
// parser.
#pragma once

#include "I3d/Mdl3.h"
#include "I3d/Mdl3Draw.h"
#include "I3d/Mdl3Walk.h"

#include <cstddef>
#include <string>
#include <vector>

// The file title of the path, cut to 31 characters (a longer title would overrun the model's
// name), upper-cased.
std::string Mdl3TitleOf(const char* path);
// Puts the model at the head of Mdl3List.
void Mdl3ListPush(MDL3* model);

// A model from a whole file image: checked, linked, materials bound and prepared as the stored
// storage value asks, the root's distances set. One block (storage 1), not on the list, no
// name, no buffers, count 0. Null (with a log line naming `what`) when the image is malformed.
MDL3* Mdl3Parse(const uint8_t* data, size_t size, const char* what);
