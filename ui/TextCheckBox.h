// A check box made of text: "X " or "O " before the label, laid out like the second text button.
#pragma once

#include "engine/EntTree.h"
#include "ui/TextButton2.h"

class TextCheckBox : public TextButton2 {
  public:
    const char16_t* DrawnText() override;

    char16_t checkedPrefix[3] = u"X ";
    char16_t clearPrefix[3] = u"O ";
    // The prefix and the longest label, terminated.
    char16_t drawn[2 + CTL3_LABEL_MAX + 1] = {};
};

intptr_t EcTextCheckBoxProc(EntNode* node, int message, intptr_t a, intptr_t b, intptr_t c);
