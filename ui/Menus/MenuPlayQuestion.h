// The questions asked during play before an irreversible step: the kit's layout they share, and
// the base of the firing and removal questions, which ask about one entity on behalf of the
// inspector that opened them and the HUD, with the game stopped while they are up.
#pragma once

#include "engine/EntRef.h"
#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

#include <cstdint>

class MenuGameRunning;

enum : int32_t { MENU_QUESTION_OK = 0, MENU_QUESTION_CANCEL = 1 };

// The world dimmed, the logo, the panel at (512, 380), the title as a heading at (512, 220), OK
// at (583, 533) and Cancel at (332, 533), each the other's neighbour in all four directions.
void MenuQuestionLayout(Menu3Base* menu, const char16_t* title);

class MenuPlayQuestion : public Menu3Base {
  public:
    int Destroy() override; // gives back a stop not yet given back
    // The entity asked about, the HUD or the inspector going away is forgotten: the answer then
    // never reaches it.
    int OnEntityRemoved(ENTBASE* gone) override;
    int OnMessage(const SlEvent* event) override;
    // returnMenu the inspector, entities[0] the entity asked about, entities[1] the HUD.
    void SetOpenArgs(const MenuOpenArgs& args) override;

    ENTBASE* Subject() const { return m_subject.Get(); }
    ENTBASE* Inspector() const { return m_inspector.Get(); }
    MenuGameRunning* Hud() const;

  protected:
    // The common creation: the script, the game stopped, the layout with its title; the message
    // and the name are the concrete screen's.
    void CreateQuestion(EntNode* node, const char16_t* title);
    // Ends the creation: the focus on Cancel (a confirming key must not answer yes by accident)
    // and the name logged.
    void FinishQuestion(const char* className);
    // OK with the HUD there and the entity still alive.
    virtual void Answer(MenuGameRunning* hud, ENTBASE* subject) = 0;

  private:
    void Resume();
    EntRef m_subject;
    EntRef m_hud;
    EntRef m_inspector;
    bool m_paused = false;
};

// Opens a question of that class under the parent about the entity; null (nothing opened) when
// the parent or the entity is missing or the class cannot be made.
Menu3Base* MenuPlayQuestionOpen(const char* className, ENTBASE* parent, ENTBASE* subject,
                                ENTBASE* hud, ENTBASE* inspector);
