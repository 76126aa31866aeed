// The library's XML document: TinyXML's document with its file opened through giFileIO, so that
// XML reads and writes are found like every other file and recorded as managed files.
#pragma once

#include <tinyxml.h>

#include <string>

class giXmlDocument : public TiXmlDocument {
  public:
    giXmlDocument() = default;
    explicit giXmlDocument(const char* name) : TiXmlDocument(name) {}

    // Loads the named file (and stores the name in the document). A file that cannot be opened
    // sets error 2, "Failed to open file"; an empty file fails.
    bool LoadFile(const char* name, TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING);
    bool LoadFile(const std::string& name, TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING) {
        return LoadFile(name.c_str(), encoding);
    }
    // Loads the file named by the document.
    bool LoadFile(TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING);

    // Saves to the named file, replacing it whole; false when it cannot be written.
    bool SaveFile(const char* name) const;
    bool SaveFile(const std::string& name) const { return SaveFile(name.c_str()); }
    // Saves to the file named by the document.
    bool SaveFile() const;
};
