// The credits: pages of a slide show over the purple background, paged on by the down arrow,
// closed by OK into a fresh main menu.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class Ctl3SlideShow;

class MenuCredits : public Menu3Base {
  public:
    const char* GetTypeName() override { return "MenuCredits"; }
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;

    Ctl3SlideShow* slideShow = nullptr; // a child: it goes with the menu

  private:
    bool m_reported = false;
};

intptr_t EcMenuCreditsProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);

// A slide show of pages inside the large panel, 800 x 400 from (112, 200), the whole of each
// slide, cut without a fade and held `hold` seconds. Help shares it; make it before the buttons.
Ctl3SlideShow* MenuPageSlideShow(int32_t id, const char* base, float hold, ENTBASE* menu);
// The keys of a page screen: true when the event is one of them, with the handler's result.
bool MenuPageKeyFilter(Menu3Base* menu, const SlEvent* event, int32_t okId, int* result);
