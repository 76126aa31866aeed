// The property database shared by the records of one type: built when the first record is made,
// freed with the last one, so a program that never loads game data keeps no databases for it.
#pragma once

#include "engine/Memory.h"
#include "engine/PropDb.h"

#include <cstdint>

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

// Base of a record type T, which names itself (`kTypeName`) and registers its fields
// (`BuildDb`). It holds no data, so T stays a plain standard-layout block of fields.
template <typename T>
class Record {
  public:
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    // The type's database; null while no record of the type exists.
    static PropDb* Db() { return s_share.db; }
    // Every field's value to the debug log.
    void Dump() const { VarDbDump(s_share.db, static_cast<const T*>(this)); }

  protected:
    Record() { RecordDbAcquire(&s_share); }
    ~Record() { RecordDbRelease(&s_share); }
    // Zeroed before the defaults: the wide text fields are read as wide past a narrow default.
    static void InitFields(T* record) {
        MemZero(record, sizeof(T));
        PropDbInitObject(s_share.db, record);
    }

  private:
    static inline RecordDbShare s_share{T::kTypeName, T::BuildDb, nullptr, 0};
};
