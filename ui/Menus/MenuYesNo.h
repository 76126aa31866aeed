// The question box: a title, three lines and OK/Cancel, asked on behalf of a caller that made
// itself inactive. The answer goes into the caller's byte flag before the caller is made active
// again. Opened with a caller and no flag it is the game's message box.
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

enum { MENU_YES_NO_TEXT_MAX = 128 };

class MenuYesNo : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override; // shows the texts
    int OnMessage(const SlEvent* event) override;
    void SetOpenArgs(const MenuOpenArgs& args) override;

    EntRef caller;
    bool hasCaller = false;
    uint8_t* answer = nullptr;
    char16_t title[MENU_YES_NO_TEXT_MAX] = {};
    char16_t lines[3][MENU_YES_NO_TEXT_MAX] = {};
    Ctl3Base* titleText = nullptr;
};

// The box under the parent with its texts (each cut to 127 units; null is empty), the flag it
// answers into (may be null) and the menu it makes active again (may be null); started. Null
// when it cannot be made.
MenuYesNo* MenuYesNoOpen(ENTBASE* parent, const char16_t* title, const char16_t* line1,
                         const char16_t* line2, const char16_t* line3, uint8_t* answer,
                         ENTBASE* caller);

// The box telling that the save `name` could not be written or read: the title, the name,
// `line` and the system's `reason` (UTF-8; without one, where the reason is); `caller` is made
// active again when it closes. True when the box opened.
bool MenuYesNoFileFailed(ENTBASE* parent, const char16_t* title, const char* name,
                         const char16_t* line, ENTBASE* caller, const char* reason = nullptr);
// The line of a failure box giving the system's reason ("No space left on device"); a
// sentence saying there is none when `reason` is empty.
void MenuYesNoReasonLine(const char* reason, char16_t* out, int outCount);

intptr_t EcMenuYesNoProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
