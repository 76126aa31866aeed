// The reading shared by skeleton and animation files: a binary GMF file whose top level holds at
// most one scene (read and dropped) and one object list, from which one record is taken.
#pragma once

#include "gi/GM_List.h"

#include <cstdint>
#include <memory>

struct GM_ObjectFileRead {
    // Null on any failure.
    std::unique_ptr<GM_ObjectList> objects;
    // The file could be opened (the skeleton keeps its name only then).
    bool opened = false;
};

// Opens the file through GM_Stream, reads its header and its top-level records until the end of
// the file, and closes it. A second scene or object list, a record that fails or a refused header
// gives no list ("Scene already generated\n", "Object List already generated\n",
// "ERROR READING GM_SCENE\n", "ERROR READING GMOBJECTLIST\n"). Any other top-level word logs
// `strayLine` and the next word is taken as the next type id. A type id that cannot be read
// fails the read when `idReadFails`, else it ends the loop.
GM_ObjectFileRead GM_ReadObjectFile(const char* fileName, const char* strayLine, bool idReadFails);

// The first member of the list with the type id; null when there is none.
GM_Object* GM_FindObject(const GM_ObjectList& list, uint32_t typeId);
