// Lists of numbered records read from one ini file: a section `base` with the count "num", then
// one section per record named base + two-digit index ("Attraction00" .. "Attraction99",
// "Attraction100" ...). The list owns one array of records; the index in it is the type or venue
// index used everywhere else.
#pragma once

#include "engine/DebugLog.h"
#include "engine/IniFile.h"
#include "engine/PropDb.h"

#include <cstddef>
#include <new>
#include <string>

// More records than this are never read: no unlock string reaches past 127, and a corrupt count
// must not make the load allocate and scan for ever.
constexpr int REC_LIST_MAX = 1000;

struct RecordListSource {
    int openResult; // IniOpen's answer: 0 opened by this load (closed at its end), 1 open already
    int count;      // records to make
    bool fromFile;  // read the numbered sections; otherwise the records keep their defaults
    bool cutLine;   // the file's last line has no line break
};

// What a load found wrong with its file: the numbered sections the count promised that are not
// there (a file cut short loses its last ones), and a last line without its line break.
struct RecordListDamage {
    int counted = 0;
    int missing = 0;
    int firstMissing = -1, lastMissing = -1;
    bool cutLine = false;
};
// "" for a whole file, else what is wrong in words ("Attraction40 to Attraction61 of the 62
// records of [Attraction] are missing, the last line is cut"), for the one line that names it.
std::string RecordListDamageText(const char* base, const RecordListDamage& damage);

// Opens the file and reads the count. A failed open, a missing `base` section or a count below 1
// give one record of defaults; with `zeroIsEmpty` a count of exactly 0 gives no record.
RecordListSource RecordListBegin(const char* path, const char* base, bool zeroIsEmpty);
// base + "%02i" of the index, cut to the buffer.
void RecordListSectionName(const char* base, int index, char* out, size_t outSize);
// Closes the file when the load opened it.
void RecordListEnd(const RecordListSource& source);

template <typename T>
class RecordList {
  public:
    RecordList() = default;
    ~RecordList() { delete[] records; }
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;

    int Count() const { return count; }
    // Null when the index is outside the list.
    T* Get(int index) const { return index >= 0 && index < count ? &records[index] : nullptr; }
    // The record's index, or -1 when it is not one of this list's.
    int IndexOf(const T* record) const {
        for (int i = 0; i < count; ++i)
            if (&records[i] == record) return i;
        return -1;
    }

    int count = 0;
    T* records = nullptr;
    RecordListDamage damage;

    // The list and every record to the debug log.
    void Dump() const {
        DbgPrintf(DBG_GENERAL, "%s list: %i records\n", T::kTypeName, count);
        for (int i = 0; i < count; ++i) {
            DbgPrintf(DBG_GENERAL, "%s %i:\n", T::kTypeName, i);
            records[i].Dump();
        }
    }

  protected:
    void Read(const char* path, const char* base, bool zeroIsEmpty) {
        RecordListSource source = RecordListBegin(path, base, zeroIsEmpty);
        if (source.count > 0) records = new (std::nothrow) T[source.count];
        count = records ? source.count : 0;
        damage = RecordListDamage{};
        damage.counted = source.fromFile ? count : 0;
        damage.cutLine = source.cutLine;
        for (int i = 0; i < count; ++i) {
            if (source.fromFile) {
                char section[80];
                RecordListSectionName(base, i, section, sizeof section);
                if (IniSetSection(section) != 0) {
                    if (damage.missing++ == 0) damage.firstMissing = i;
                    damage.lastMissing = i;
                }
                VarDbLoadIni(T::Db(), &records[i], nullptr, section);
            }
            records[i].WidenText();
        }
        RecordListEnd(source);
    }
};
