// The null entity: the plain container of the root tree ("Root", "World", "Viewport", "Menus",
// "Cursors"). It overrides nothing: its type name is the base's "ENTBASE", and only the class
// procedure knows it as "EntNull".
#pragma once

#include "engine/EntBase.h"
#include "engine/EntTree.h"

class EntNull : public ENTBASE {};

// Class "EntNull" (the application asks for "ENTNULL": class lookup ignores case).
intptr_t EcNullProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
