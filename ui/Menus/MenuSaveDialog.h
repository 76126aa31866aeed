// The common part of the two save dialogs (layouts and sandboxes): a typed name, checked, asked
// about when a save of that name exists, saved on the next frame. Opened from the end of the day
// it goes on to the main menu, or back to a new end-of-day screen on Cancel. It has no class of
// its own: only the dialogs made from it are created by name.
#pragma once

#include "engine/EntRef.h"
#include "ui/Menu3Base.h"

#include <cstdint>

class EditLine;
class MtGame;

enum { SAVE_DIALOG_NAME_MAX = 64 };
enum : int32_t { SAVE_CANCEL = 0, SAVE_OK = 1, SAVE_NAME = 2 };

class MenuSaveDialog : public Menu3Base {
  public:
    int Create(EntNode* node) override;
    int Update(float seconds) override;
    int OnMessage(const SlEvent* event) override;
    // returnMenu is the opener; returnClass "MenuEndOfDay" sets the end-of-day flag.
    void SetOpenArgs(const MenuOpenArgs& args) override;
    // Saves under the name and closes; a failed save keeps the dialog and says so. `this` may be
    // gone afterwards.
    void Save();

    EntRef opener;
    MtGame* mtGame = nullptr;
    EditLine* field = nullptr;
    char saveName[SAVE_DIALOG_NAME_MAX * 2 + 1] = {}; // UTF-8: two bytes a Latin-1 letter
    uint8_t saveConfirmed = 0;
    uint8_t endOfDay = 0;

  protected:
    virtual const char* ClassName() const = 0;
    virtual const char16_t* Caption() const = 0;
    virtual const char16_t* Blurb() const = 0;
    virtual const char16_t* ExistsLine() const = 0;
    virtual bool Exists(const char* name) = 0;
    virtual bool Write(const char* name) = 0;

  private:
    void Ok();
    void Cancel();
};

inline constexpr const char16_t* kSaveDialogBlurb =
    u"You can save your layout for later use.\nThis will not save any profit/loss earned so far "
    u"today.  Earnings are saved when the carnival closes.";
