// The default venue's authored data against the code that reads it, with no window: every key
// of the world file is a property of its entity's class, every key of the game and venue data a
// field of its record, and every file they name is in the generated Data/.
#include "engine/EntTree.h"
#include "engine/GameApp/GameApp.h"
#include "engine/PropDb.h"
#include "engine/VarTable.h"
#include "game/AttrInfo.h"
#include "game/GameVals.h"
#include "game/VenueInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kData = FAIRLARK_BUILD_DATA_DIR;

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys; // key=value lines
    std::vector<std::string> lines;                        // every other line
};

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

std::vector<Section> ReadIni(const std::string& path) {
    std::vector<Section> out;
    std::istringstream in(ReadTextFile(path));
    for (std::string line; std::getline(in, line);) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            out.push_back({line.substr(1, line.find(']') - 1), {}, {}});
        } else if (!out.empty()) {
            const size_t eq = line.find('=');
            if (eq == std::string::npos)
                out.back().lines.push_back(line);
            else
                out.back().keys.emplace_back(line.substr(0, eq), Trim(line.substr(eq + 1)));
        }
    }
    return out;
}

// The field a key reads: "pos.x" and "fogClr.r" are parts of "pos" and "fogClr".
bool HasField(const PropDb* db, const std::string& key) {
    if (PropDbFindField(db, key.c_str())) return true;
    const size_t dot = key.rfind('.');
    if (dot == std::string::npos || dot + 2 != key.size() ||
        std::string("xyzrgba").find(key[dot + 1]) == std::string::npos)
        return false;
    return PropDbFindField(db, key.substr(0, dot).c_str()) != nullptr;
}

const PropDb* FindDb(std::string name) {
    // The management camera's database carries the name of its first heading, as others do.
    const bool camera = name == "CameraVantor1";
    if (camera) name = "General:";
    for (const PropDb* db = PropDbFirst(); db; db = db->next)
        if (name == db->name && (!camera || PropDbFindField(db, "scrollSpeedX"))) return db;
    return nullptr;
}

// A Data/ path as the game writes it ("\" separated, any case) on the disk.
bool DataFileExists(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return PathExistsOnDisk(kData + path);
}

class VenueConsistency : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const GameClassProc& entry : g_gameClassProcs)
            if (entry.proc) EntCreateClass(entry.proc, 0, 0);
    }
    void TearDown() override { EntSystemShutdown(); }
};

TEST_F(VenueConsistency, EveryWorldKeyIsAPropertyOfItsEntitysClass) {
    const std::vector<Section> ini = ReadIni(kData + "Venues/Default/World.ini");
    ASSERT_FALSE(ini.empty());
    ASSERT_EQ(ini[0].name, "Entities");
    std::map<std::string, std::string> classOf;
    std::set<std::string> names = {"World"};
    for (const std::string& line : ini[0].lines) {
        std::istringstream words(line);
        std::string name, cls, parent, extra;
        words >> name >> cls >> parent;
        EXPECT_FALSE(parent.empty()) << line << ": every entity names its parent";
        EXPECT_FALSE(words >> extra) << line;
        EXPECT_TRUE(names.count(parent)) << line << ": parent not made before it";
        EXPECT_TRUE(classOf.emplace(name, cls).second) << "two entities named " << name;
        names.insert(name);
    }
    EXPECT_EQ(classOf.size(), 33u);
    for (size_t i = 1; i < ini.size(); ++i) {
        const Section& s = ini[i];
        auto it = classOf.find(s.name);
        if (it == classOf.end()) {
            ADD_FAILURE() << "section [" << s.name << "] names no entity";
            continue;
        }
        if (it->second == "Observer2" || it->second == "ParticleSpray") {
            // These keep their values in a value table of their own, not in a class database.
            ENTBASE* entity = EntCreateChild(it->second.c_str(), nullptr);
            VarTable* table = entity ? entity->GetInstanceVarTable() : nullptr;
            ASSERT_NE(table, nullptr) << it->second;
            for (const auto& [key, value] : s.keys)
                EXPECT_NE(VarTableFind(table, key.c_str()), nullptr)
                    << "[" << s.name << "] " << key << " is no value of " << it->second;
            EntDestroyTree(entity);
            continue;
        }
        const PropDb* db = FindDb(it->second);
        if (!db) {
            ADD_FAILURE() << "no properties for class " << it->second;
            continue;
        }
        for (const auto& [key, value] : s.keys)
            EXPECT_TRUE(HasField(db, key))
                << "[" << s.name << "] " << key << " is no property of " << it->second;
        EXPECT_TRUE(s.lines.empty()) << "[" << s.name << "] " << s.lines.front();
    }
}

template <typename T>
void ExpectFields(const Section& s) {
    PropDb db;
    T::BuildDb(&db);
    for (const auto& [key, value] : s.keys)
        EXPECT_TRUE(HasField(&db, key)) << "[" << s.name << "] " << key;
}

TEST_F(VenueConsistency, EveryGameAndVenueKeyIsARecordFieldAndEveryFileItNamesExists) {
    const std::vector<Section> data = ReadIni(kData + "Data.ini");
    int attractions = 0;
    for (const Section& s : data) {
        if (s.name == "Attraction") continue;
        if (s.name == "GameVals") {
            ExpectFields<GameVals>(s);
            continue;
        }
        ASSERT_EQ(s.name.rfind("Attraction", 0), 0u) << s.name;
        ++attractions;
        ExpectFields<AttrInfo>(s);
        for (const auto& [key, value] : s.keys) {
            if (key != "modelFileName" || value.empty()) continue;
            EXPECT_TRUE(DataFileExists(value)) << "[" << s.name << "] " << value;
        }
    }
    EXPECT_EQ(attractions, 62);

    const std::vector<Section> venues = ReadIni(kData + "Venue.ini");
    int scripts = 0;
    for (const Section& s : venues) {
        if (s.name == "Venue") continue;
        ExpectFields<VenueInfo>(s);
        for (const auto& [key, value] : s.keys) {
            if (key != "scriptFile") continue;
            ++scripts;
            EXPECT_TRUE(DataFileExists(value)) << "[" << s.name << "] " << value;
        }
    }
    EXPECT_EQ(scripts, 5);
}

} // namespace
