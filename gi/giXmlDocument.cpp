// XML document files through giFileIO.
#include "gi/giXmlDocument.h"

#include "gi/giFileIO.h"

#include "engine/Files.h"

#include <cstdio>
#include <cstdlib>

bool giXmlDocument::LoadFile(const char* name, TiXmlEncoding encoding) {
    Clear();
    SetValue(name ? name : "");
    giFileIO* io = giFileIO::Get();
    std::FILE* f = io ? io->Open(name, "r") : nullptr;
    if (!f) {
        SetError(TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
        return false;
    }
    // TinyXML reads the whole file, refuses an empty one and parses; closing stays with us.
    bool ok = TiXmlDocument::LoadFile(f, encoding);
    std::fclose(f);
    return ok;
}

bool giXmlDocument::LoadFile(TiXmlEncoding encoding) {
    return LoadFile(Value(), encoding);
}

bool giXmlDocument::SaveFile(const char* name) const {
    giFileIO* io = giFileIO::Get();
    if (!io || !name || !*name) return false;
    // The document is printed into memory and the file replaced whole, so a failed save (a full
    // disk) leaves the old file as it was and is reported, instead of a cut file and success.
    io->Track(name);
    char* text = nullptr;
    size_t size = 0;
    std::FILE* mem = open_memstream(&text, &size);
    if (!mem) return false;
    TiXmlDocument::SaveFile(mem);
    bool ok = std::fclose(mem) == 0 && FileWriteAll(name, text, size) == 1;
    std::free(text);
    return ok;
}

bool giXmlDocument::SaveFile() const {
    return SaveFile(Value());
}
