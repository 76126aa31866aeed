// The caption list: what every generated image says, beside the art.
#include "datagen/Interface/InterfaceArt.h"

#include <cctype>

// ---- the caption list ----

bool ArtWordsSpellFileName(const std::string& file, const std::string& words) {
    const auto squeeze = [](const std::string& text) {
        std::string out;
        for (const unsigned char c : text)
            if (std::isalnum(c)) out += char(std::tolower(c));
        return out;
    };
    std::string title = file.substr(file.find_last_of("/\\") + 1);
    title = squeeze(title.substr(0, title.rfind('.')));
    return !title.empty() && squeeze(words).find(title) != std::string::npos;
}

std::vector<ArtCaption> ArtCaptions(const std::vector<ArtRow>& rows, size_t labelRows,
                                    const std::vector<SlideSeries>& series) {
    std::vector<ArtCaption> captions;
    for (size_t i = 0; i < rows.size(); ++i)
        captions.push_back({rows[i].file, i < labelRows ? "label" : "name",
                            rows[i].caption ? rows[i].caption : ""});
    for (const SlideSeries& s : series)
        for (uint32_t i = 0; i < s.count; ++i)
            captions.push_back({SlideFile(s, i), "page", SlideWords(s, i)});
    return captions;
}

std::string ArtCaptionListText(const std::vector<ArtCaption>& captions) {
    std::string text;
    for (const ArtCaption& c : captions)
        text += c.file + "\t" + c.source + "\t" + c.words + "\n";
    return text;
}
