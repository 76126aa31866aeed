// The patrons' class-wide drawing resources: the four characters (adult male, adult female,
// child male, child female) loaded once for the class with their skins, the clip names of each
// kind, one character per patron, and the batch of the debug shapes. With no render device no
// character loads and patrons have none.
#pragma once

#include <cstdint>
#include <string>

class CharModel;
class CharModelInst;
class GameEntQuadBatch;

enum { RUBE_KINDS = 4 };

// Loads the four characters from `dataFolder` (ending in a separator) and the skins; the
// attachment offset of every kind is (0, -0.43, 0.4). Nothing without a device. A kind that
// does not load leaves its patrons without a character. Loading again first releases.
void RubeCharactersLoad(const std::string& dataFolder);
// Drops the class's hold on the models, frees the skins and the debug batch; characters still
// alive keep their model until they go.
void RubeCharactersRelease();
// The class's debug shapes (needs displays and paths), made on first use.
GameEntQuadBatch* RubeDebugBatch();

// The kind's loaded model, or null (kinds outside 0..3 included).
CharModel* RubeCharacterModel(int kind);
// The texture slot of skin 1..15 (adults) or 1..12 (children) of the kind; -1 when absent.
int32_t RubeSkinTexture(int kind, int skin);
// The clip a kind plays for one of the RUBE_ANIM_* clips: "AdultWalk", "ChildRun" ...; null
// for an unknown clip.
const char* RubeAnimName(int kind, int anim);

// A character of the kind wearing the skin, holding its model; null when the kind has none.
CharModelInst* RubeCharacterCreate(int kind, int skin);
// Frees the character and lets go of its model. Null is ignored.
void RubeCharacterFree(CharModelInst* character);
