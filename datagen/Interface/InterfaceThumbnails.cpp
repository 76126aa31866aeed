// The venue thumbnails: a captioned card for every picture the venue list names.
#include "datagen/Interface/InterfaceArt.h"
#include "datagen/Interface/InterfaceArtTools.h"

#include <algorithm>
#include <cctype>

// ---- venue thumbnails ----

// The picture name of a "texFileName" value, "/"-separated; false for anything that is no ".dds"
// file inside the data folder (absolute, "..", a drive, control characters, too long).
bool ArtCleanPictureName(std::string value, std::string* out) {
    const size_t v0 = value.find_first_not_of(" \t");
    const size_t v1 = value.find_last_not_of(" \t\r");
    if (v0 == std::string::npos || v1 == std::string::npos || v1 < v0) return false;
    value = value.substr(v0, v1 - v0 + 1);
    std::replace(value.begin(), value.end(), '\\', '/');
    std::string lower = value;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const bool dds = lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".dds") == 0;
    const bool control = std::any_of(value.begin(), value.end(),
                                     [](unsigned char c) { return c < 0x20 || c == 0x7F; });
    if (!dds || control || value.size() > 260 || value[0] == '/' ||
        value.find("..") != std::string::npos || value.find(':') != std::string::npos)
        return false;
    *out = value;
    return true;
}

std::vector<ArtVenueThumbnail> ArtVenueThumbnails(const std::string& venueIni) {
    std::vector<ArtVenueThumbnail> venues;
    // Each section's "name" and "texFileName", in either order: the pictures a section names
    // take its name.
    std::string name;
    size_t sectionStart = 0;
    size_t at = 0;
    while (at < venueIni.size()) {
        size_t end = venueIni.find('\n', at);
        if (end == std::string::npos) end = venueIni.size();
        std::string line = venueIni.substr(at, end - at);
        at = end + 1;
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        line = line.substr(first);
        if (line[0] == '[') {
            name.clear();
            sectionStart = venues.size();
            continue;
        }
        const size_t keyEnd = line.find_first_of(" \t=");
        const std::string key = line.substr(0, keyEnd);
        if (key != "texFileName" && key != "name") continue;
        const size_t eq = line.find_first_not_of(" \t", key.size());
        if (eq == std::string::npos || line[eq] != '=') continue;
        if (key == "texFileName") {
            std::string value;
            if (ArtCleanPictureName(line.substr(eq + 1), &value) &&
                std::none_of(venues.begin(), venues.end(),
                             [&](const ArtVenueThumbnail& v) { return v.file == value; }))
                venues.push_back({value, name});
            continue;
        }
        // One byte per character, as the cards' captions are drawn: UTF-8 Latin-1 letters as
        // themselves, anything else as '?'.
        name.clear();
        const std::string value = line.substr(eq + 1);
        for (size_t i = value.find_first_not_of(" \t"); i < value.size(); ++i) {
            const unsigned char c = (unsigned char)value[i];
            if (c == '\r') break;
            if (c < 0x80) {
                name += c < 0x20 ? '?' : char(c);
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < value.size() &&
                       ((unsigned char)value[i + 1] & 0xC0) == 0x80) {
                name += char(((c & 0x03) << 6) | ((unsigned char)value[++i] & 0x3F));
            } else if ((c & 0xC0) != 0x80) {
                name += '?';
            }
        }
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
            name.pop_back();
        for (size_t v = sectionStart; v < venues.size(); ++v)
            venues[v].caption = name;
    }
    return venues;
}

std::vector<std::string> ArtVenueThumbnailFiles(const std::string& venueIni) {
    std::vector<std::string> files;
    for (const ArtVenueThumbnail& v : ArtVenueThumbnails(venueIni))
        files.push_back(v.file);
    return files;
}

std::vector<ArtRow> ArtVenueThumbnailRows(const std::vector<ArtVenueThumbnail>& venues) {
    std::vector<ArtRow> rows;
    for (const ArtVenueThumbnail& venue : venues)
        rows.push_back({venue.file.c_str(), 128, 128, 128, kArtThumbnailRows, 1,
                        venue.caption.c_str(), kArtCardPoints, ArtKind::Card, 0, kArtVenueFill});
    return rows;
}
