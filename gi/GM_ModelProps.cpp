// The attachment points' user properties ("type", "set", "size") and the hazard points.
#include "gi/GM_AttachmentPt.h"
#include "gi/GM_Collision.h"
#include "gi/GM_ModelFile.h"
#include "gi/giDebug.h"
#include "gi/giString.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

uint32_t TypeBit(const std::string& token) {
    if (token == "N") return 0x1;
    if (token == "W") return 0x2;
    if (token == "T") return 0x4;
    if (token == "S") return 0x8;
    return GM_CollisionCodeBit(token.c_str());
}

// Splits at the characters of `seps`, dropping empty pieces.
std::vector<std::string> Split(const std::string& text, const char* seps) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(seps, pos);
        if (end == std::string::npos) end = text.size();
        if (end > pos) out.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

} // namespace

int GM_ModelFile::FindAttachment(const std::string& name) const {
    for (size_t i = 0; i < m_attach.size(); ++i) {
        const char* n = m_attach[i]->Name();
        if (n && name == n) return (int)i;
    }
    return -1;
}

void GM_ModelFile::ApplyProperty(int owner, const std::string& key,
                                 const std::vector<std::string>& values) {
    GM_AttachmentPt* p = m_attach[(size_t)owner];
    if (key == "type") {
        for (const std::string& v : values)
            p->flags |= TypeBit(v);
    } else if (key == "set") {
        // The first token names the point that owns the set, the next two its partners; a
        // partner that names no point leaves its slot empty.
        int first = values.empty() ? -1 : FindAttachment("att-point" + values[0]);
        if (first < 0) return;
        GM_AttachmentPt* setOwner = m_attach[(size_t)first];
        if (setOwner->setCount >= GM_AttachmentPt::kMaxSets) {
            giOutputDebugString(giStrFormat("Attachment point %s has more than %d sets: set "
                                            "refused\n",
                                            setOwner->Name() ? setOwner->Name() : "",
                                            GM_AttachmentPt::kMaxSets)
                                    .c_str());
            return;
        }
        int slot = setOwner->setCount++;
        if (values.size() > 1) {
            int i = FindAttachment("att-point" + values[1]);
            if (i >= 0) setOwner->setFirst[slot] = i;
        }
        if (values.size() > 2) {
            int i = FindAttachment("att-point" + values[2]);
            if (i >= 0) setOwner->setSecond[slot] = i;
        }
    } else if (key == "size") {
        for (const std::string& v : values)
            m_size = (int32_t)std::strtol(v.c_str(), nullptr, 10);
    }
}

void GM_ModelFile::ReadUserProperties() {
    for (size_t i = 0; i < m_attach.size(); ++i) {
        const char* text = m_attach[i]->userData.c_str();
        if (!text || !*text) continue;
        // One key a line: the key ends at "=", its values are separated by spaces up to the
        // carriage return; line feeds never enter a token. An unknown key's values end with its
        // line, so they are never taken for the next key.
        for (std::string line : Split(text, "\r")) {
            line.erase(std::remove(line.begin(), line.end(), '\n'), line.end());
            size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            std::string key = giStrTrim(line.substr(0, eq));
            ApplyProperty((int)i, key, Split(line.substr(eq + 1), " "));
        }
    }
}

GM_AttachmentPt* GM_ModelFile::FindHazardPoint(int i) const {
    if (i < 0 || i >= (int)m_attach.size()) return nullptr;
    int n = 0;
    for (GM_AttachmentPt* p : m_attach) {
        std::string upper = p->Name() ? p->Name() : "";
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
        if (upper.find("HAZARDPOINT") != std::string::npos && n++ == i) return p;
    }
    return nullptr;
}
