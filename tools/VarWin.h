// The params pane's rows: one small object per edited value of an entity (the CVarWin family),
// drawn as one ImGui line each. A row writes straight into the entity's field and tells the
// entity (VarsChanged, then the changed mark); showing a row never changes anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class ENTBASE;
class PropDb;
class PropField;
struct VarEntry;

enum { VARWIN_LABEL_MAX = 80, VARWIN_TEXT_MAX = 128, VARWIN_SLIDER_RANGE = 1024 };

// ---- the rules, as plain functions ----

// "%f" with trailing zeros removed, the point kept: 12 gives "12.", 0.5 gives "0.5"; NaN and
// infinities as printf writes them.
void VarFormatFloat(float value, char* out, size_t outSize);
// The slider position 0..1024 of a value in min..max (clamped); 0 for NaN or an empty range.
int VarFloatPosition(float value, float min, float max);
// The value a slider position stands for.
float VarFloatFromPosition(int position, float min, float max);
// The page step of an int range: a tenth, truncated toward zero.
int VarIntPage(int min, int max);
// atof of at most the first 128 characters.
float VarTextToFloat(const char* text);
// Decimal string-to-integer, as strtol, clamped to the int range.
int VarTextToInt(const char* text);
// VarsChanged, then the changed mark when the entity is still there.
void VarNotify(ENTBASE* entity);

class CVarWin {
  public:
    CVarWin(ENTBASE* object, PropField* field);
    virtual ~CVarWin() = default;
    CVarWin(const CVarWin&) = delete;
    CVarWin& operator=(const CVarWin&) = delete;

    void SetLabel(const char* text);
    const char* Label() const { return m_label; }
    // Makes the controls show the value; until then the row ignores every change.
    virtual void Create() { created = true; }
    // The row's controls, one line; `id` keeps ImGui ids apart.
    virtual void Draw(int id);
    ENTBASE* Object() const { return m_object; }
    PropField* Field() const { return m_field; }
    // The row forgets its entity (it is being freed): nothing is read or written afterwards.
    void Drop() { m_object = nullptr; }

    bool created = false;

  protected:
    void DrawLabel();
    bool Live() const { return created && m_object; }

    ENTBASE* m_object;
    PropField* m_field;
    char m_label[VARWIN_LABEL_MAX] = "*ERROR*";
};

// A float in the object at a byte offset (a "float" or "angle" field, or one component of a
// "VECTOR3" or "COLOR3F" field). Without a range (max <= min) there is no slider.
class CVarWinFloat : public CVarWin {
  public:
    CVarWinFloat(ENTBASE* object, PropField* field, intptr_t offset, float min, float max,
                 float step);
    void Create() override;
    void Draw(int id) override;

    float Value() const;
    int Position() const { return VarFloatPosition(Value(), m_min, m_max); }
    bool HasSlider() const { return m_max > m_min; }
    const char* Text() const { return m_text; }
    float Min() const { return m_min; }
    float Max() const { return m_max; }
    // The user's inputs.
    void Line(int direction);
    void Page(int direction);
    void Thumb(int position);
    void TextChanged(const char* text);
    void Deactivated();

  private:
    void Store(float value);
    intptr_t m_offset;
    float m_min, m_max, m_step;
    char m_text[VARWIN_TEXT_MAX + 1] = {};
};

class CVarWinInt : public CVarWin {
  public:
    CVarWinInt(ENTBASE* object, PropField* field);
    void Create() override;
    void Draw(int id) override;

    int Value() const;
    bool HasSlider() const { return m_max > m_min; }
    const char* Text() const { return m_text; }
    void Line(int direction);
    void Page(int direction);
    void Thumb(int position);
    void TextChanged(const char* text);
    void Deactivated();

  private:
    void Store(int value);
    int m_min, m_max, m_step;
    char m_text[VARWIN_TEXT_MAX + 1] = {};
};

class CVarWinString : public CVarWin {
  public:
    CVarWinString(ENTBASE* object, PropField* field);
    void Create() override;
    void Draw(int id) override;
    // The edit buffer's size: min(128, the field's bytes).
    int BufferSize() const { return m_size; }
    const char* Text() const { return m_text; }
    void TextChanged(const char* text);

  private:
    int m_size;
    char m_text[VARWIN_TEXT_MAX] = {};
};

class CVarWinBool : public CVarWin {
  public:
    using CVarWin::CVarWin;
    void Draw(int id) override;
    bool Value() const;
    void Clicked(bool ticked);
};

class CVarWinCommand : public CVarWin {
  public:
    using CVarWin::CVarWin;
    void Draw(int id) override;
    void Clicked();
};

class CVarWinSeparator : public CVarWin {
  public:
    using CVarWin::CVarWin;
    void Draw(int id) override;
};

// One entry of an entity's instance variable table.
class VarDbWnd : public CVarWin {
  public:
    VarDbWnd(ENTBASE* object, VarEntry* entry);
    void Create() override;
    void Draw(int id) override;
    const VarEntry* Entry() const { return m_entry; }
    const char* Text() const { return m_text; }
    void TextChanged(const char* text);
    void Thumb(int position);
    void Clicked(bool ticked);

  private:
    void Refresh();
    VarEntry* m_entry;
    char m_text[VARWIN_TEXT_MAX + 1] = {};
};

using VarRows = std::vector<std::unique_ptr<CVarWin>>;

// The rows of an object's database in field order (three for "VECTOR3" and "COLOR3F"), then
// those of its instance variable table when it has one; every row created.
void VarDbWndBuild(VarRows* rows, ENTBASE* object, PropDb* db);
