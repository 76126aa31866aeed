// File access, managed files, the singleton glue and XML documents through giFileIO.
#include "gi/giFileIO.h"
#include "gi/giXmlDocument.h"

#include "tests/gi/GiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
// Runs the test in a scratch folder, since managed names are relative to the current folder.
class InFolder {
  public:
    explicit InFolder(const std::string& path) {
        char* cwd = getcwd(nullptr, 0);
        m_old = cwd ? cwd : ".";
        free(cwd);
        EXPECT_EQ(chdir(path.c_str()), 0);
    }
    ~InFolder() { EXPECT_EQ(chdir(m_old.c_str()), 0); }

  private:
    std::string m_old;
};

void Track(giFileIO& io) {
    io.Init("", "", "", ".\\", false, true);
}
} // namespace

TEST(giFileIO, OpenRecordsNamesExactlyAsGiven) {
    TempDir dir;
    WriteTextFile(dir / "a.gmf", "x");
    DropSharedFileIO();
    giFileIO io;
    EXPECT_EQ(io.Open("", "rb"), nullptr);
    EXPECT_EQ(io.Open(nullptr, "rb"), nullptr);
    Track(io);
    EXPECT_EQ(io.Open("", "rb"), nullptr);
    EXPECT_TRUE(io.ManagedFiles().empty()) << "an empty name is neither opened nor recorded";

    std::string a = dir / "a.gmf", upper = dir / "A.gmf", missing = dir / "missing.gmf";
    for (const std::string& name : {a, a, upper}) {
        std::FILE* f = io.Open(name.c_str(), "rb");
        ASSERT_NE(f, nullptr) << name;
        std::fclose(f);
    }
    EXPECT_EQ(io.Open(missing.c_str(), "rb"), nullptr);
    std::vector<std::string> names = io.ManagedFiles();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{upper, a, missing}))
        << "one entry per name, a missing file recorded too, names differing in case apart";
}

TEST(giFileIO, OpenFindsWindowsStyleNamesOnDisk) {
    TempDir dir;
    WriteTextFile(dir / "Characters/Maps/Adult.tga", "tga");
    DropSharedFileIO();
    giFileIO io;
    std::string name = dir.Path() + "Characters\\Maps\\adult.TGA";
    std::FILE* f = io.Open(name.c_str(), "rb");
    ASSERT_NE(f, nullptr) << "backslashes separate and a miss retries without regard to case";
    char buf[4] = {};
    EXPECT_EQ(std::fread(buf, 1, 3, f), 3u);
    EXPECT_STREQ(buf, "tga");
    std::fclose(f);

    std::string created = dir.Path() + "characters\\maps\\New.gmf";
    f = io.Open(created.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(PathExistsOnDisk(dir / "Characters/Maps/New.gmf"))
        << "a new file lands in the folder as it is spelled on disk";
    EXPECT_TRUE(io.FileExists(created.c_str())) << "and is found at once after its creation";
}

TEST(giFileIO, SearchFoldersAndOpenSearch) {
    TempDir dir;
    WriteTextFile(dir / "models/Walk.gmf", "walk");
    DropSharedFileIO();
    giFileIO io;
    io.AddSearchFolder("a");
    io.AddSearchFolder("a/");
    io.AddSearchFolder("a");
    EXPECT_EQ(io.SearchFolders(), (std::list<std::string>{"a\\", "a/", "a\\"}));
    io.RemoveSearchFolder("a");
    EXPECT_EQ(io.SearchFolders(), (std::list<std::string>{"a/"})) << "every equal entry goes";

    EXPECT_TRUE(io.FileExists((dir / "models/*.gmf").c_str())) << "wildcards match";
    EXPECT_FALSE(io.FileExists((dir / "models/*.xml").c_str()));
    std::ifstream in;
    EXPECT_FALSE(io.OpenSearch(in, "walk.gmf", 1));
    io.AddSearchFolder(dir / "models");
    ASSERT_TRUE(io.OpenSearch(in, "walk.gmf", 1)) << "found through the search folder";
    std::string text;
    in >> text;
    EXPECT_EQ(text, "walk");
    EXPECT_EQ(io.RegistryNumber(), 0u);
    EXPECT_EQ(io.InstallRoot(), ".\\");
    EXPECT_TRUE(io.CdRoots().empty());
}

TEST(giFileIO, OutputManagedFilesListsEveryNameInHashOrder) {
    TempDir dir;
    InFolder here(dir.Path());
    std::string dump = dir / "dump.txt";
    {
        DropSharedFileIO();
        giFileIO io;
        testing::internal::CaptureStderr();
        io.OutputManagedFiles(dump.c_str());
        EXPECT_NE(testing::internal::GetCapturedStderr().find(
                      "[giFileIO::OutputManagedFiles] No managed files."),
                  std::string::npos);
        EXPECT_FALSE(PathExistsOnDisk(dump)) << "tracking off writes no file";
    }
    giFileIO io;
    Track(io);
    // "Ab" and "BA" hash alike: both must be listed, or a data set silently misses a file.
    for (const char* name : {"Ab.gmf", "zz.gmf", "BA.gmf"})
        io.Track(name);
    io.OutputManagedFiles(dump.c_str());
    std::vector<std::string> names = io.ManagedFiles();
    ASSERT_EQ(names.size(), 3u);
    std::string expected;
    for (const std::string& n : names)
        expected += n + "\n";
    EXPECT_EQ(ReadTextFile(dump), expected);
    EXPECT_NE(expected.find("Ab.gmf"), std::string::npos);
    EXPECT_NE(expected.find("BA.gmf"), std::string::npos);
}

TEST(giFileIO, CopyManagedFilesCreatesTheFolders) {
    TempDir dir;
    InFolder here(dir.Path());
    WriteTextFile(dir / "sub/x.gmf", "model");
    DropSharedFileIO();
    giFileIO io;
    Track(io);
    io.Track("sub/x.gmf");
    io.Track("gone.gmf");
    testing::internal::CaptureStderr();
    // Two levels of the destination are new: every one of them must be made.
    io.CopyManagedFilesToFolder("out/deep");
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadTextFile(dir / "out/deep/sub/x.gmf"), "model");
    EXPECT_NE(log.find("Copying sub/x.gmf to out\\deep\\sub\\x.gmf"), std::string::npos) << log;
    EXPECT_NE(log.find("Error copying gone.gmf"), std::string::npos);
    EXPECT_NE(log.find("[giFileIO::CopyManagedFilesToFolder] Copied 1 files to out/deep\\ with 1 "
                       "errors.\n"),
              std::string::npos)
        << log;

    WriteTextFile(dir / "sub/x.gmf", "newer");
    io.CopyManagedFilesToFolder("out\\deep\\");
    EXPECT_EQ(ReadTextFile(dir / "out/deep/sub/x.gmf"), "newer") << "a copy overwrites";
}

TEST(giFileIO, SingletonCountsAndClears) {
    DropSharedFileIO();
    EXPECT_EQ(giFileIO::Instance(), nullptr);
    {
        giFileIO io;
        EXPECT_EQ(giFileIO::Get(), &io);
        EXPECT_EQ(giFileIO::LiveCount(), 1);
        EXPECT_THROW(giFileIO second, std::runtime_error);
        EXPECT_EQ(giErrorText(),
                  "[giInstanceCounter::Init] Too many objects of this type created.");
        EXPECT_EQ(giFileIO::LiveCount(), 1) << "a refused construction is not counted";
    }
    EXPECT_EQ(giFileIO::Instance(), nullptr);
    EXPECT_EQ(giFileIO::LiveCount(), 0);
    giFileIO* made = giFileIO::Get();
    ASSERT_NE(made, nullptr) << "made on first use";
    EXPECT_EQ(giFileIO::Get(), made);
    delete made;
    EXPECT_EQ(giFileIO::Instance(), nullptr);
}

TEST(giXmlDocument, LoadsAndSavesThroughFileIO) {
    TempDir dir;
    DropSharedFileIO();
    giFileIO io;
    Track(io);
    std::string path = dir / "Desc.xml";
    WriteTextFile(path, "<Model>a.gmf</Model>\n<Skeleton>s.gmf</Skeleton>\n");
    giXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(dir.Path() + "desc.XML")) << doc.ErrorDesc();
    ASSERT_NE(doc.FirstChildElement("Skeleton"), nullptr) << "a rootless document keeps both";
    EXPECT_STREQ(doc.FirstChildElement("Skeleton")->GetText(), "s.gmf");

    doc.FirstChildElement("Model")->SetAttribute("scale", "2");
    std::string saved = dir / "out.xml";
    ASSERT_TRUE(doc.SaveFile(saved));
    giXmlDocument back;
    ASSERT_TRUE(back.LoadFile(saved));
    EXPECT_STREQ(back.FirstChildElement("Model")->Attribute("scale"), "2");
    std::vector<std::string> names = io.ManagedFiles();
    EXPECT_NE(std::find(names.begin(), names.end(), saved), names.end())
        << "saves are managed files like loads";

    giXmlDocument missing;
    EXPECT_FALSE(missing.LoadFile(dir / "none.xml"));
    EXPECT_EQ(missing.ErrorId(), 2);
    EXPECT_STREQ(missing.ErrorDesc(), "Failed to open file");
    WriteTextFile(dir / "empty.xml", "");
    EXPECT_FALSE(missing.LoadFile(dir / "empty.xml"));
    EXPECT_FALSE(doc.SaveFile(dir / "no/such/folder/x.xml"));
}

TEST(giXmlDocument, DeepNestingIsRefusedBeforeTheParserRecursesIntoIt) {
    TempDir dir;
    std::string deep;
    for (int i = 0; i < 300000; ++i) // far past what the machine stack holds, parsed recursively
        deep += "<a>";
    WriteTextFile(dir / "deep.xml", deep);
    giXmlDocument doc;
    EXPECT_FALSE(doc.LoadFile(dir / "deep.xml")) << "a parse this deep overflows the stack";
    EXPECT_EQ(doc.FirstChildElement(), nullptr);
    EXPECT_TRUE(doc.Error());

    // 256 open levels still load; closed, empty and skipped text opens none.
    std::string ok;
    for (int i = 0; i < 256; ++i)
        ok += "<b x='>' y=\"/>\">";
    ok += "<e/><e /><!-- <c><c><c> --><![CDATA[<c><c>]]>";
    for (int i = 0; i < 256; ++i)
        ok += "</b>";
    ok += "<f></f>";
    WriteTextFile(dir / "ok.xml", ok);
    EXPECT_TRUE(doc.LoadFile(dir / "ok.xml")) << doc.ErrorDesc();
    WriteTextFile(dir / "over.xml", "<b>" + ok + "</b>");
    EXPECT_FALSE(doc.LoadFile(dir / "over.xml")) << "257 open levels are over the limit";
}

TEST(giXmlDocument, ATagWithThousandsOfAttributesIsRefusedBeforeTheParserComparesThemAll) {
    TempDir dir;
    // Each attribute the parser reads is compared with every earlier one of its tag.
    std::string many = "<a";
    for (int i = 0; i < 20000; ++i)
        many += " b" + std::to_string(i) + "='1'";
    WriteTextFile(dir / "many.xml", many + "/>");
    giXmlDocument doc;
    EXPECT_FALSE(doc.LoadFile(dir / "many.xml")) << "parsing this tag is quadratic in its size";
    EXPECT_TRUE(doc.Error());

    // 256 attributes load; an "=" inside a quoted value or text is no attribute.
    std::string ok = "<a";
    for (int i = 0; i < 256; ++i)
        ok += " b" + std::to_string(i) + "='x=y'";
    WriteTextFile(dir / "ok.xml", ok + ">1=1</a>");
    EXPECT_TRUE(doc.LoadFile(dir / "ok.xml")) << doc.ErrorDesc();
    EXPECT_STREQ(doc.RootElement()->Attribute("b255"), "x=y");
}

TEST(giXmlDocument, TheTextReachesTheParserAsTinyXmlsOwnReadGivesIt) {
    TempDir dir;
    giXmlDocument doc;
    // Line ends made LF, and nothing after a NUL, as TinyXML's own file read does.
    WriteTextFile(dir / "ends.xml", std::string("<a v=\"x\r\ny\rz\"/>\0<b/>", 20));
    ASSERT_TRUE(doc.LoadFile(dir / "ends.xml")) << doc.ErrorDesc();
    EXPECT_STREQ(doc.RootElement()->Attribute("v"), "x\ny\nz");
    EXPECT_EQ(doc.RootElement()->NextSiblingElement(), nullptr) << "the NUL ends the text";
    WriteTextFile(dir / "nul.xml", std::string("\0<a/>", 5));
    EXPECT_FALSE(doc.LoadFile(dir / "nul.xml"));
    EXPECT_EQ(doc.ErrorId(), TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY);
    // A file cut inside a UTF-8 sequence: the parser steps past the end of the text (the
    // sanitizer caught it reading on beyond TinyXML's own buffer); ours ends in room for it.
    WriteTextFile(dir / "cut.xml", "<a>  \xd4");
    EXPECT_FALSE(doc.LoadFile(dir / "cut.xml"));
    WriteTextFile(dir / "whole.xml", "<a>caf\xc3\xa9</a>");
    ASSERT_TRUE(doc.LoadFile(dir / "whole.xml")) << doc.ErrorDesc();
    EXPECT_STREQ(doc.RootElement()->GetText(), "caf\xc3\xa9");
}
