#include "ui/Menus/MenuGameRunningOpen.h"

#include "ui/Menu3Base.h"

Menu3Base* MenuGameRunningOpen(ENTBASE* parent) {
    return MenuOpen("MenuGameRunning", parent, nullptr);
}
