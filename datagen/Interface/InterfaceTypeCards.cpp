// The attraction type cards: a card per type's picture, in its category's colour.
#include "datagen/Interface/InterfaceArt.h"
#include "datagen/Interface/InterfaceArtTools.h"

#include "game/AttrInfo.h"

#include <algorithm>
#include <iterator>
#include <map>

// ---- attraction type cards ----

uint32_t ArtCategoryFill(int32_t attrType) {
    switch (attrType) {
        case ATTR_TYPE_FOOD: return 0xFFB8482Cu;    // food and drink: tomato
        case ATTR_TYPE_RIDE: return 0xFF2C5CC0u;    // rides: blue
        case ATTR_TYPE_GAME: return 0xFF8438ACu;    // games: purple
        case ATTR_TYPE_UTILITY: return 0xFF2C8478u; // utilities: teal
        default: return 0xFF6E6450u;
    }
}

std::vector<ArtTypeCard> ArtTypeCards(const AttrInfoList& list) {
    std::vector<ArtTypeCard> cards;
    std::map<std::string, size_t> byTitle;
    for (int i = 0; i < list.Count(); ++i) {
        const AttrInfo* type = list.Get(i);
        std::string file;
        if (!ArtCleanPictureName(type->texFileName, &file)) continue;
        if (std::any_of(cards.begin(), cards.end(),
                        [&](const ArtTypeCard& c) { return c.file == file; }))
            continue;
        const std::string title = ArtLowerTitle(file);
        auto first = byTitle.find(title);
        if (first != byTitle.end()) {
            ArtTypeCard same = cards[first->second];
            same.file = file;
            cards.push_back(same);
            continue;
        }
        std::string caption;
        for (size_t c = 0; c < std::size(type->name) && type->name[c]; ++c)
            caption += type->name[c] < 0x100 && type->name[c] >= 0x20 ? char(type->name[c]) : '?';
        byTitle[title] = cards.size();
        cards.push_back({file, caption, ArtCategoryFill(type->attrType)});
    }
    return cards;
}

std::vector<ArtRow> ArtTypeCardRows(const std::vector<ArtTypeCard>& cards) {
    std::vector<ArtRow> rows;
    for (const ArtTypeCard& card : cards)
        rows.push_back({card.file.c_str(), 128, 128, 128, kArtThumbnailRows, 1,
                        card.caption.c_str(), kArtCardPoints, ArtKind::Card, 0, card.fill});
    return rows;
}
