// The generated data set as a whole: textures are shared by their lower-cased file title, so two
// files of one title must be the same bytes; and every generator, run again into a fresh folder
// over a fresh copy of data/, writes exactly the bytes the build's Data/ holds.
#include "tests/dataset/DataSetFiles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace {

// "Menu/Common/ButtonUp.dds" -> "buttonup"; empty for a file no texture load reads.
std::string TextureTitle(const std::string& path) {
    std::string title = path.substr(path.find_last_of('/') + 1);
    const size_t dot = title.find_last_of('.');
    if (dot == std::string::npos) return "";
    std::string ext = title.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (ext != "dds" && ext != "tga") return "";
    title = title.substr(0, dot);
    std::transform(title.begin(), title.end(), title.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return title;
}

TEST(DataSet, TexturesOfOneTitleAreTheSameBytes) {
    std::map<std::string, std::vector<std::string>> byTitle;
    for (const std::string& file : FilesBelow(DataFolder())) {
        const std::string title = TextureTitle(file);
        if (!title.empty()) byTitle[title].push_back(file);
    }
    for (const auto& [title, files] : byTitle) {
        const std::vector<uint8_t> first = ReadBytes(DataFolder() + files[0]);
        for (size_t i = 1; i < files.size(); ++i)
            EXPECT_TRUE(ReadBytes(DataFolder() + files[i]) == first)
                << files[i] << " and " << files[0] << " share the title \"" << title << "\"";
    }
    // The screens name these in two folders each.
    for (const char* shared : {"lockedicon", "buttonup", "buttondown"})
        EXPECT_EQ(byTitle[shared].size(), 2u) << shared;
}

// The generators' command lines as the build runs them, one a line, tab-separated, without the
// data folder that comes first.
std::vector<std::vector<std::string>> GeneratorCommands() {
    std::vector<std::vector<std::string>> commands;
    std::istringstream lines(ReadTextFile(FAIRLARK_DATAGEN_COMMANDS));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        std::vector<std::string> words;
        std::istringstream fields(line);
        for (std::string word; std::getline(fields, word, '\t');)
            words.push_back(word);
        commands.push_back(words);
    }
    return commands;
}

std::string Quoted(const std::string& word) {
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

TEST(DataSet, ASecondGenerationIsByteIdentical) {
    const std::vector<std::vector<std::string>> commands = GeneratorCommands();
    ASSERT_GE(commands.size(), 10u) << "the generator list is missing";
    TempDir dir;
    std::error_code error;
    std::filesystem::copy(FAIRLARK_SOURCE_DIR "/data", dir.Path(),
                          std::filesystem::copy_options::recursive, error);
    ASSERT_FALSE(error) << error.message();
    for (const std::vector<std::string>& words : commands) {
        std::string command = Quoted(words[0]) + " " + Quoted(dir.Path());
        for (size_t i = 1; i < words.size(); ++i)
            command += " " + Quoted(words[i]);
        command += " >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    const std::vector<std::string> again = FilesBelow(dir.Path());
    EXPECT_GT(again.size(), 300u);
    for (const std::string& file : again) {
        // The data step's stamp records when it ran.
        if (file == "Generated.txt") continue;
        EXPECT_TRUE(ReadBytes(DataFolder() + file) == ReadBytes(dir / file))
            << file << " differs from the build's";
    }
}

} // namespace
