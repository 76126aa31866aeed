// The load screens' fixture.
#include "tests/ui/Menus/LoadListFixture.h"

#include "engine/Input/SlInput.h"
#include "game/MtGame.h"
#include "ui/Menus/MenuLoadList.h"

#include <fstream>
#include <sys/stat.h>

void LoadListTest::StartLists() {
    StartUi();
    ASSERT_NE(Game(), nullptr);
    mkdir(Saves().c_str(), 0755);
}

MenuLoadList* LoadListTest::OpenList(const char* className) {
    auto* made = dynamic_cast<MenuLoadList*>(MenuOpen(className, Menus(), nullptr));
    Step();
    return made;
}

std::string LoadListTest::Saves() {
    return MtGameSaveFolder();
}

std::vector<std::string> LoadListTest::Names(const MenuLoadList* list) {
    std::vector<std::string> out;
    if (list)
        for (const LoadEntry& e : list->entries)
            out.emplace_back(e.name);
    return out;
}

void LoadListTest::Press(int32_t id) {
    SlPostEvent(CTL3_EVENT, id, CTL3_CLICK);
    Step();
}
