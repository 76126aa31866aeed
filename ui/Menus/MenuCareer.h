// "CAREER": a new career, loading one, or back to the main menu.
#pragma once

#include "engine/EntTree.h"
#include "ui/Menu3Base.h"

class MenuCareer : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int OnMessage(const SlEvent* event) override;
};

// Created under the parent and started; null when it cannot be made.
MenuCareer* MenuCareerOpen(ENTBASE* parent);

intptr_t EcMenuCareerProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
