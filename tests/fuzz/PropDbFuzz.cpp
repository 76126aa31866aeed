// A property database of every field type loaded from a section of any file, as entities and
// game records load their properties.
#include "engine/IniFile.h"
#include "engine/PropDb.h"
#include "tests/engine/AllFieldsRecord.h"
#include "tests/fuzz/FuzzInput.h"

#include <cstddef>
#include <cstdint>
#include <string>

using all_fields::Record;
using all_fields::RecordDb;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzWriteFile("Record.ini", data, size);
    Record r;
    PropDbInitObject(RecordDb(), &r);
    VarDbLoadIni(RecordDb(), &r, path.c_str(), "Record");
    // Every section of the file, through the loaded file, as a record list reads its records.
    if (IniOpen(path.c_str()) == 0) {
        char name[64];
        size_t full = 0;
        IniRewindSections();
        for (int n = 0; n < 64 && IniNextSection(name, sizeof name, &full) == 1; ++n)
            if (full < sizeof name) VarDbLoadIni(RecordDb(), &r, nullptr, name);
        IniClose();
    }
    return 0;
}
