// The font cache: fonts shared by upper-cased file title through one list of shared objects.
#include "I3d/Font.h"
#include "engine/DebugLog.h"
#include "engine/Paths.h"

#include <string>

namespace {

SharedObj* s_fonts = nullptr;

// A font whose construction loads its file.
class CachedFont : public Font {
  public:
    explicit CachedFont(const char* path) { FontLoadAbc(this, path); }
};

} // namespace

Font* FontAcquire(const char* path) {
    if (!path) return nullptr;
    // Shared names hold 31 characters: the lookup and the name cut the title alike.
    const std::string title = PathFileTitle(path);
    if (SharedObj* found = SharedObjAcquire(title.c_str(), s_fonts))
        return static_cast<Font*>(found);
    auto* font = new CachedFont(path);
    if (!FontIsLoaded(font)) {
        DbgPrintf(DBG_RENDER, "FontAcquire(%s): the font did not load\n", path);
        delete font;
        return nullptr;
    }
    font->SetName(title.c_str());
    SharedObjLink(font, &s_fonts);
    return font;
}

Font* FontFind(const char* title) {
    return static_cast<Font*>(SharedObjFind(title, s_fonts));
}
