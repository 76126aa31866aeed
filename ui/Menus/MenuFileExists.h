// The stand-alone overwrite question: a file's name, "This file already exists.", and OK or
// Cancel answered into the caller's byte. Nothing in the game opens it; scripts can create it.
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

enum { MENU_FILE_EXISTS_NAME_MAX = 260 };

class MenuFileExists : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Start() override; // shows the file name
    int OnMessage(const SlEvent* event) override;
    // returnMenu the opener, out[0] the answer byte, texts[0] the file name.
    void SetOpenArgs(const MenuOpenArgs& args) override;

    EntRef opener;
    uint8_t* result = nullptr;
    char16_t fileName[MENU_FILE_EXISTS_NAME_MAX + 1] = {};
};

// Under the parent with the file name (cut to 260 units), the answer byte (may be null) and the
// menu made active again (may be null); started. Null when it cannot be made.
MenuFileExists* MenuFileExistsOpen(ENTBASE* parent, const char16_t* fileName, uint8_t* result,
                                   ENTBASE* opener);

intptr_t EcMenuFileExistsProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
