// The interface art: control images as 32-bit DDS strips, made from a table. Each row gives a
// file, its texture size, the first frame's cell, the frame count and the caption, which says
// what the control that shows it does (its label), never the file's name; frames are stacked
// downwards, one cell height apart, and filled with the colour of the state they stand for inside
// a lighter 2-pixel border, so that texel (4, 4) of every frame is the plain fill. Beside them,
// the slide-show series: numbered slides of one flat colour each, the help and credits pages
// carrying their text, so the centre of the picture is the plain fill.
#pragma once

#include "datagen/Images/ImageWriters.h"

#include <cstdint>
#include <string>
#include <vector>

class AttrInfoList;

// Fills of the three states: normal, focused, pressed.
inline constexpr uint32_t kArtStateFill[3] = {0xFF505A78u, 0xFFC8B400u, 0xFF283040u};
// The fill of the panels (one frame each, and the in-game panel's body).
inline constexpr uint32_t kArtPanelFill = 0xFF3C6E50u;
// The fill of the front end's shared full-screen background.
inline constexpr uint32_t kArtBackdropFill = 0xFF5A2878u;
// The mouse cursor's shapes: plain, pointer, pan, rotate.
inline constexpr uint32_t kArtCursorFill[4] = {0xFFE0E0E0u, 0xFF20C040u, 0xFFE07020u, 0xFF4080F0u};
// The in-game panel's body, above its lights: 376 x 418 from the top left.
inline constexpr uint32_t kArtInGamePanelWidth = 376, kArtInGamePanelHeight = 418;

enum class ArtKind {
    Strip,     // the three states, repeated frame after frame
    CheckBox,  // 0-2 empty boxes, 3 transparent, 4-6 boxes with the caption, 7 transparent
    Panel,     // one frame in the panel fill
    TextPanel, // a panel the screens write on: its caption along its bottom edge in its
               // border's colour, so that the screens' own white text stays the only white
    InGame,    // the in-game panel's body, and below it the lights as a strip from `top`
    Cursor,    // arrows, one fill per shape, transparent around them; no border or caption
    Dial,      // a panel with a clock face: a ring of twelve hour marks around the middle
    Lock,      // a panel with a padlock in its middle, the sign of a locked row
    Ring,      // a panel with a round window in its middle, open for the dial drawn under it
    Logo,      // the game's name, its frames in the row's fill and a lighter shade of it in turn,
               // so the flipbook glows without looking like a button
    Screen,    // a full-screen picture: one frame in the row's own fill, captioned
    Overlay,   // a full-screen frame drawn over slides: bands in the row's fill along the top and
               // bottom of the cell, captioned in the top band, transparent between them
    Card,      // one frame in the row's own fill, its caption wrapped onto as many centred lines
               // as the width needs
};

struct ArtRow {
    const char* file; // under the data folder, "/"-separated
    uint32_t texWidth, texHeight;
    uint32_t cellWidth, cellHeight; // the cell starts at (0, 0)
    uint32_t frames;
    const char* caption; // centred; check boxes carry it on their checked frames only; empty
                         // for pictures that sit behind the screens' own text
    int points;          // the caption's largest size (DejaVu Sans Bold); smaller when it
                         // would not fit the frame
    ArtKind kind;
    uint32_t top = 0;  // the first frame's top row
    uint32_t fill = 0; // Screen, Overlay, Card and Logo rows: their colour
};

// The height of an overlay's two bands.
inline constexpr uint32_t kArtOverlayBand = 64;

// Where frame `frame` of the row starts, and the fill it shows at texel (4, 4) of its cell (0
// for a frame left transparent).
uint32_t ArtFrameTop(const ArtRow& row, uint32_t frame);
uint32_t ArtFrameFill(const ArtRow& row, uint32_t frame);

// The rows the game ships.
const std::vector<ArtRow>& ArtTable();

// The row's image; false with `error` set when its frames do not fit the texture or the
// caption's face cannot be read.
bool ArtPaint(const ArtRow& row, GenImage* out, std::string* error);

// Textures are shared by their lower-cased file title, so two rows of one title must give the
// same bytes. `bytes` holds each row's file; false with `error` naming the first clash.
bool ArtCheckTitles(const std::vector<ArtRow>& rows, const std::vector<std::vector<uint8_t>>& bytes,
                    std::string* error);

// Paints every row and writes it below `dataFolder` (ending in "/"), after the title check.
bool ArtWriteAll(const std::vector<ArtRow>& rows, const std::string& dataFolder,
                 std::string* error);

// ---- the caption list ----
// Beside the art the generator lists what every image says, one line each: its file, where the
// words come from and the words, tab-separated. "label" words are the control's own (the
// generator's table); "name" words are a record's "name" value (a venue or attraction type);
// "page" words are a slide's text, its lines joined by " / ".
inline constexpr const char* kArtCaptionListFile = "InterfaceCaptions.txt";
struct ArtCaption {
    std::string file, source, words;
};
// True when the words spell the file's title: compared without regard to case, blanks and
// punctuation, the words hold the whole title ("ButtonHelp" in "button_help 2").
bool ArtWordsSpellFileName(const std::string& file, const std::string& words);

// ---- venue thumbnails ----
// The selector shows the top 95 rows of a 128 x 128 thumbnail.
inline constexpr uint32_t kArtThumbnailRows = 95;
// The "texFileName" values of a venue list's text, "/"-separated, each once; values that are no
// ".dds" file inside the data folder (absolute, "..", a drive, control characters) are passed
// over.
std::vector<std::string> ArtVenueThumbnailFiles(const std::string& venueIni);
// The venues' pictures: each clean "texFileName" once, with the "name" of the venue section
// that names it first (one byte per character; non-Latin-1 text becomes '?').
struct ArtVenueThumbnail {
    std::string file, caption;
};
std::vector<ArtVenueThumbnail> ArtVenueThumbnails(const std::string& venueIni);
// A card row per venue in the venues' colour carrying its name; the rows point into `venues`,
// which must outlive them.
std::vector<ArtRow> ArtVenueThumbnailRows(const std::vector<ArtVenueThumbnail>& venues);
inline constexpr uint32_t kArtVenueFill = 0xFF3C6E8Cu;

// ---- attraction type cards ----
// The catalogue shows the top 95 rows (kArtThumbnailRows) of a type's 128 x 128 thumbnail: a card
// in its category's colour carrying the type's name, so a row tells its type even without a
// picture.

// The card colour of an "attrType": food and drink 0, rides 2, games 3, utilities 4; every other
// value (scenery, and the categories no tab shows) shares one.
uint32_t ArtCategoryFill(int32_t attrType);
inline constexpr int kArtCardPoints = 12;

struct ArtTypeCard {
    std::string file;    // "/"-separated, inside the data folder
    std::string caption; // the type's name, one byte per character (Latin-1; others become '?')
    uint32_t fill;
};
// One card per clean "texFileName" of the list (the venue thumbnails' rule), in list order. The
// game shares textures by lower-cased title, so every file of one title gets the card of the
// first type that names that title.
std::vector<ArtTypeCard> ArtTypeCards(const AttrInfoList& list);
// A Card row per card; the rows point into `cards`, which must outlive them.
std::vector<ArtRow> ArtTypeCardRows(const std::vector<ArtTypeCard>& cards);

// ---- slide-show series ----

enum { kSlideMaxPerSeries = 4 };

enum { kSlideMaxLines = 12 };

// A page of text: a heading and paragraphs, each wrapped to the page's width.
struct SlidePage {
    const char* heading;
    const char* paragraphs[kSlideMaxLines];
};

// Help and credits write their pages into the top left of the slide, inside this box: the screens
// show the slide inside their panel, so the rest of the slide stays the plain fill.
inline constexpr uint32_t kSlideTextWidth = 800, kSlideTextHeight = 400;

struct SlideSeries {
    const char* base; // under the data folder, "/"-separated; slides are "<base>00.dds" ...
    uint32_t width, height;
    uint32_t pictureHeight; // the rows the screens show; below it the slide is black
    uint32_t count;
    uint32_t fills[kSlideMaxPerSeries];
    const SlidePage* pages = nullptr; // `count` pages, or none for pictures without text
};

// The series the game ships.
const std::vector<SlideSeries>& SlideTable();

// "<base><index two digits>.dds".
std::string SlideFile(const SlideSeries& series, uint32_t index);
// Slide `index` of the series; false with `error` set when the caption's face cannot be read.
bool SlidePaint(const SlideSeries& series, uint32_t index, GenImage* out, std::string* error);
// Paints every slide of every series and writes it below `dataFolder` (ending in "/").
bool SlideWriteAll(const std::vector<SlideSeries>& table, const std::string& dataFolder,
                   std::string* error);
// The words of slide `index`: its heading and paragraphs joined by " / " (empty for a picture).
std::string SlideWords(const SlideSeries& series, uint32_t index);

// The caption list of the rows and the series, and its text as the generator writes it.
std::vector<ArtCaption> ArtCaptions(const std::vector<ArtRow>& rows, size_t labelRows,
                                    const std::vector<SlideSeries>& series);
std::string ArtCaptionListText(const std::vector<ArtCaption>& captions);
