// The property database shared by the records of one type: built when the first record is made,
// freed with the last one, so a program that never loads game data keeps no databases for it.
#pragma once

#include "engine/PropDb.h"

#include <cstdint>

// Every record field is shown in the editor and stored in ini files, as entity properties are.
constexpr uint32_t REC_FIELD_FLAGS = 3;

struct RecordDbShare {
    const char* name;          // the database's name: the record type's name
    void (*build)(PropDb* db); // registers the fields, in ini order
    PropDb* db;
    int live; // records of the type now alive
};

// Counts one more record and returns the database (built on the first).
PropDb* RecordDbAcquire(RecordDbShare* share);
// Counts one record less; the last one frees the database.
void RecordDbRelease(RecordDbShare* share);
