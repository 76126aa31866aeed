// Typed XML values: text forms in the "C" locale whatever the process locale, the empty-text
// defaults, and groups that need all their attributes.
#include "gi/giXmlValue.h"

#include <gtest/gtest.h>

#include <locale>

namespace {

// A process locale that writes 0,5 and 1.000: what a German user's locale does to streams.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

class ScopedGlobalLocale {
  public:
    explicit ScopedGlobalLocale(const std::locale& l) : m_old(std::locale::global(l)) {}
    ~ScopedGlobalLocale() { std::locale::global(m_old); }

  private:
    std::locale m_old;
};

} // namespace

TEST(giXmlValue, ScalarsRoundTripInTheCLocaleUnderACommaLocale) {
    ScopedGlobalLocale german(std::locale(std::locale::classic(), new CommaPunct));
    TiXmlElement root("Layer");
    TiXmlElement* f = giXmlSetChild(&root, "fadeTime", 0.5);
    TiXmlElement* big = giXmlSetChild(&root, "elapsedTime", 1234.5f);
    TiXmlElement* b = giXmlSetChild(&root, "looping", true);
    TiXmlElement* i = giXmlSetChild(&root, "count", (int32_t)-7);
    TiXmlElement* u = giXmlSetChild(&root, "mask", (uint32_t)4000000000u);
    TiXmlElement* s = giXmlSetChild(&root, "name", "AdultWalk");
    ASSERT_TRUE(f && big && b && i && u && s);
    EXPECT_EQ(giXmlGetText(f), "0.5") << "a comma locale must not reach the file";
    EXPECT_EQ(giXmlGetText(big), "1234.5") << "no thousands separators either";
    EXPECT_EQ(giXmlGetText(b), "1");
    EXPECT_FLOAT_EQ(giXmlGetFloat(f), 0.5f);
    EXPECT_FLOAT_EQ(giXmlGetFloat(big), 1234.5f);
    EXPECT_TRUE(giXmlGetBool(b));
    EXPECT_EQ(giXmlGetInt(i), -7);
    EXPECT_EQ(giXmlGetUnsigned(u), 4000000000u);
    EXPECT_EQ(giXmlGetText(s), "AdultWalk");
    // Appended in order, as the children of the parent.
    EXPECT_EQ(root.FirstChildElement()->ValueStr(), "fadeTime");
    EXPECT_EQ(root.LastChild()->ValueStr(), "name");
    EXPECT_EQ(giXmlSetChild(nullptr, "x", 1.0f), nullptr);
    EXPECT_EQ(giXmlSetChild(&root, nullptr, 1.0f), nullptr);
}

TEST(giXmlValue, MissingOrUnparsableTextGivesTheDefaults) {
    TiXmlElement root("r");
    // An element whose first child is an element has no text.
    TiXmlElement* nested = giXmlSetChild(&root, "nested", "");
    nested->Clear();
    giXmlSetChild(nested, "inner", 3.0f);
    TiXmlElement* abc = giXmlSetChild(&root, "abc", "abc");
    TiXmlElement* word = giXmlSetChild(&root, "word", "true");
    for (const TiXmlElement* e : {(const TiXmlElement*)nested, (const TiXmlElement*)nullptr}) {
        EXPECT_EQ(giXmlGetText(e), "");
        EXPECT_EQ(giXmlGetFloat(e), 0.0f);
        EXPECT_FALSE(giXmlGetBool(e));
        EXPECT_EQ(giXmlGetInt(e), 0);
    }
    EXPECT_EQ(giXmlGetFloat(abc), 0.0f);
    EXPECT_EQ(giXmlGetInt(abc), 0);
    EXPECT_FALSE(giXmlGetBool(word)) << "booleans are \"1\" and \"0\", not words";
    EXPECT_TRUE(giXmlGetBool(giXmlSetChild(&root, "one", " 1 ")));
}

TEST(giXmlValue, GroupsNeedEveryAttribute) {
    TiXmlElement root("r");
    TiXmlElement* v3 = giXmlSetGroup(&root, "pos", giVec3(1.5f, -2, 0.25f));
    TiXmlElement* v4 = giXmlSetGroup(&root, "rot", giVec4{0, 0, 0.5f, 1});
    TiXmlElement* v2 = giXmlSetGroup(&root, "uv", giVec2(0.5f, 2));
    ASSERT_TRUE(v3 && v4 && v2);
    EXPECT_STREQ(v3->Attribute("Z"), "0.25");
    EXPECT_EQ(v3->Attribute("W"), nullptr);
    const giVec3 p = giXmlGetVector3(v3);
    EXPECT_FLOAT_EQ(p.x, 1.5f);
    EXPECT_FLOAT_EQ(p.y, -2);
    EXPECT_FLOAT_EQ(p.z, 0.25f);
    EXPECT_FLOAT_EQ(giXmlGetVector4(v4).z, 0.5f);
    EXPECT_FLOAT_EQ(giXmlGetVector2(v2).y, 2);

    // X and Y but no Z: nothing is taken from the partial group.
    const giVec3 partial = giXmlGetVector3(v2);
    EXPECT_EQ(partial.x, 0);
    EXPECT_EQ(partial.y, 0);
    EXPECT_EQ(partial.z, 0);
    v4->RemoveAttribute("Y");
    const giVec4 q = giXmlGetVector4(v4);
    EXPECT_EQ(q.z, 0);
    EXPECT_EQ(q.w, 0);
    giXmlSetAttribute(nullptr, "X", 1.0f);
    giXmlSetAttribute(v2, nullptr, 1.0f);
    EXPECT_EQ(giXmlGetVector2(v2).x, 0.5f);
}
