// What the generated interface art says: the generator lists every image's words, and no image
// spells its own file name. A control's words are what it does ("Menu", "Equipment"); a venue's
// or an attraction type's card carries that record's name; a help or credits page its text.
#include "game/AttrInfo.h"
#include "game/VenueInfo.h"
#include "tests/dataset/DataSetFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Listed {
    std::string file, source, words;
};

std::vector<Listed> CaptionList() {
    std::vector<Listed> list;
    std::istringstream lines(ReadTextFile(DataFolder() + "InterfaceCaptions.txt"));
    for (std::string line; std::getline(lines, line);) {
        const size_t a = line.find('\t'), b = a == std::string::npos ? a : line.find('\t', a + 1);
        if (b == std::string::npos) {
            ADD_FAILURE() << "a caption line without its three fields: " << line;
            continue;
        }
        list.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
    }
    return list;
}

// Letters and digits only, lower-cased: "button_sandbox" and "Button Sandbox" are one name.
std::string Squeezed(const std::string& text) {
    std::string out;
    for (const unsigned char c : text)
        if (std::isalnum(c)) out += char(std::tolower(c));
    return out;
}

std::string FileTitle(const std::string& file) {
    std::string title = file.substr(file.find_last_of('/') + 1);
    return title.substr(0, title.rfind('.'));
}

// A record's wide name as the cards draw it: one byte per character, '?' past Latin-1.
std::string CardText(const char16_t* name, size_t size) {
    std::string out;
    for (size_t i = 0; i < size && name[i]; ++i)
        out += name[i] < 0x100 && name[i] >= 0x20 ? char(name[i]) : '?';
    return out;
}

TEST(DataSet, NoImageSpellsItsFileName) {
    const std::vector<Listed> list = CaptionList();
    ASSERT_GT(list.size(), 100u);
    std::set<std::string> names;
    const std::unique_ptr<AttrInfoList> types(
        AttrInfoList::Load((DataFolder() + "Data.ini").c_str()));
    for (int i = 0; i < types->Count(); ++i)
        names.insert(CardText(types->Get(i)->name, std::size(types->Get(i)->name)));
    const std::unique_ptr<VenueInfoList> venues(
        VenueInfoList::Load((DataFolder() + "Venue.ini").c_str()));
    for (int i = 0; i < venues->Count(); ++i)
        names.insert(CardText(venues->Get(i)->name, std::size(venues->Get(i)->name)));

    std::set<std::string> listed;
    for (const Listed& c : list) {
        listed.insert(c.file);
        EXPECT_TRUE(PathExistsOnDisk(DataFolder() + c.file)) << c.file << " is listed, not written";
        if (c.source == "name") {
            // A record's name may happen to read like its picture's file; it must be the record's.
            EXPECT_EQ(names.count(c.words), 1u)
                << c.file << ": \"" << c.words << "\" names no record";
            continue;
        }
        EXPECT_TRUE(c.source == "label" || c.source == "page") << c.file << ": " << c.source;
        const std::string title = Squeezed(FileTitle(c.file));
        ASSERT_FALSE(title.empty()) << c.file;
        EXPECT_EQ(Squeezed(c.words).find(title), std::string::npos)
            << c.file << " says \"" << c.words << "\": its file's name";
    }
    // Every picture of the menus is in the list.
    for (const std::string& file : FilesBelow(DataFolder() + "Menu/")) {
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".dds") != 0) continue;
        EXPECT_EQ(listed.count("Menu/" + file), 1u) << "Menu/" << file << " is not listed";
    }
}

} // namespace
