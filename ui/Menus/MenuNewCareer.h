// "New Career": the career's name, its difficulty and Start, which creates the career on the
// game object, saves it and shows the career summary. An existing career is overwritten only
// after a question; a name that cannot name a save, or a save that fails, is told in a message
// box and the screen stays.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

class EditLine;
class MtGame;

enum { MENU_NEW_CAREER_NAME_MAX = 255 };

class MenuNewCareer : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Update(float seconds) override; // creates the career once confirmed
    int OnMessage(const SlEvent* event) override;

    EditLine* NameField();
    MtGame* Game();

    int32_t difficulty = 1; // 0 easy, 1 medium, 2 hard
    uint8_t confirmed = 0;  // the overwrite question's answer, or set at once for a new name
    char careerName[MENU_NEW_CAREER_NAME_MAX] = {};

  private:
    // Escape went down while the name was being typed: it ends the typing, not the screen.
    bool m_escapeEndsEditing = false;

    void StartPressed();
    // True when the summary opened and this menu is gone.
    bool CreateCareer();
    // The message box over this screen, which goes inactive until it is closed.
    void Tell(const char16_t* title, const char16_t* line2, const char16_t* line3);
};

MenuNewCareer* MenuNewCareerOpen(ENTBASE* parent);

intptr_t EcMenuNewCareerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
