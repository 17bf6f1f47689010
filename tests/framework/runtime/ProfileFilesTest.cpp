// Profile files: the document keeps what it does not change, the classic
// calls read and write real files, and damaged files never crash or get lost.
#include "TempFolders.h"

#include "framework/runtime/ProfileDocument.h"
#include "framework/runtime/ProfileFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

class ProfileFiles : public ::testing::Test {
protected:
    void SetUp() override { EmptyTestFolders(); }
    std::string Path(const std::string& name) const { return TestWindowsFolder() + "/" + name; }

    std::string Read(const char* section, const char* key, const char* fallback, const std::string& file,
                     DWORD size = 1024)
    {
        std::vector<char> buffer(size + 1, 'X');
        const DWORD length = GetPrivateProfileString(section, key, fallback, buffer.data(), size, file.c_str());
        return std::string(buffer.data(), length);
    }
};

TEST(ProfileDocument, ChangingAValueKeepsEveryOtherLineInPlace)
{
    const std::string text = "; top comment\r\n"
                             "[First]\r\n"
                             "Alpha = 1 \r\n"
                             "; inside\r\n"
                             "Beta=2\r\n"
                             "\r\n"
                             "[Second]\r\n"
                             "Gamma=3\r\n";
    auto document = TProfileDocument::Parse(text);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->Text(), text) << "untouched, the text comes back byte for byte";

    ASSERT_TRUE(document->SetValue("first", "BETA", "two"));
    ASSERT_TRUE(document->SetValue("First", "Delta", "4"));
    ASSERT_TRUE(document->SetValue("Third", "Eps", "5"));
    EXPECT_EQ(document->Text(), "; top comment\r\n"
                                "[First]\r\n"
                                "Alpha = 1 \r\n"
                                "; inside\r\n"
                                "Beta=two\r\n"
                                "Delta=4\r\n"
                                "\r\n"
                                "[Second]\r\n"
                                "Gamma=3\r\n"
                                "\r\n"
                                "[Third]\r\n"
                                "Eps=5\r\n");
    EXPECT_TRUE(document->EraseKey("FIRST", "alpha"));
    EXPECT_FALSE(document->EraseKey("First", "alpha"));
    EXPECT_TRUE(document->EraseSection("second"));
    EXPECT_EQ(document->Sections(), (std::vector<std::string>{"First", "Third"}));
}

TEST(ProfileDocument, DuplicatesAndCaseFirstSectionAndFirstKeyCount)
{
    auto document = TProfileDocument::Parse("[A]\nk=first\nK=second\n[a]\nk=third\nonly=in second copy\n");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->Value("a", "K"), "first");
    EXPECT_EQ(document->Value("A", "only"), std::nullopt);
    EXPECT_EQ(document->Sections(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(document->Keys("a"), (std::vector<std::string>{"k"}));
    ASSERT_TRUE(document->SetValue("a", "k", "new"));
    EXPECT_EQ(document->Text(), "[A]\nk=new\nK=second\n[a]\nk=third\nonly=in second copy\n");
}

TEST(ProfileDocument, ListsEachSectionAndKeyOnceInFileOrder)
{
    std::string text;
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < 3000; ++i)
            text.append(pass == 0 ? "[Section" : "[SECTION").append(std::to_string(i)).append("]\nk=1\nK=2\nj=3\n");
    auto document = TProfileDocument::Parse(text);
    ASSERT_TRUE(document);
    const std::vector<std::string> sections = document->Sections();
    ASSERT_EQ(sections.size(), 3000u);
    EXPECT_EQ(sections.front(), "Section0");
    EXPECT_EQ(sections.back(), "Section2999");
    EXPECT_EQ(document->Keys("section17"), (std::vector<std::string>{"k", "j"}));
}

TEST(ProfileDocument, AwkwardValuesReadBackAsWritten)
{
    const std::vector<std::string> values = {
        "a=b=c", "; not a comment", "[not a section]", "\"quoted\"", "'single'", "  both ends  ",
        "\ttab", "trailing ", "\"", "\"\"", "Ümlaut Straße — ½ ☾", "", "x\"y'z",
    };
    TProfileDocument document;
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE(document.SetValue("S", std::string(1, 'k').append(std::to_string(i)), values[i])) << values[i];
    auto reread = TProfileDocument::Parse(document.Text());
    ASSERT_TRUE(reread);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread->Value("S", std::string(1, 'k').append(std::to_string(i))), values[i]);
}

TEST(ProfileDocument, CommentsQuotesAndTheByteOrderMarkStayTheWritersOwn)
{
    const std::string text = "\xEF\xBB\xBF[S]\n;k=old\n  ; j=x\nk=v\nq='half\"\n";
    auto document = TProfileDocument::Parse(text);
    ASSERT_TRUE(document);
    EXPECT_EQ(document->Keys("S"), (std::vector<std::string>{"k", "q"})) << "comments are no keys";
    EXPECT_EQ(document->Value("S", "q"), "'half\"") << "quotes that do not match are the value's own";
    ASSERT_TRUE(document->SetValue("S", "k", "w"));
    EXPECT_EQ(document->Text(), "\xEF\xBB\xBF[S]\n;k=old\n  ; j=x\nk=w\nq='half\"\n");
}

TEST(ProfileDocument, RefusesWhatALineCannotCarry)
{
    TProfileDocument document;
    EXPECT_FALSE(document.SetValue("S", "k", "two\nlines"));
    EXPECT_FALSE(document.SetValue("S", "k", "carriage\rreturn"));
    EXPECT_FALSE(document.SetValue("S", "k", std::string("zero\0byte", 9)));
    EXPECT_FALSE(document.SetValue("S", "a=b", "v"));
    EXPECT_FALSE(document.SetValue("S", ";k", "v"));
    EXPECT_FALSE(document.SetValue("S", " k", "v"));
    EXPECT_FALSE(document.SetValue("S]", "k", "v"));
    EXPECT_FALSE(document.SetValue("S", "k", std::string(MaxProfileLineLength, 'x')));
    EXPECT_EQ(document.Text(), "") << "nothing changed";
}

// Damaged texts: each either reads as a profile file or is refused whole.
TEST(ProfileDocument, DamagedTexts)
{
    struct TCase {
        const char* What;
        std::string Text;
        bool Parses;
        std::optional<std::string> Value; // of [S] k
    };
    const std::vector<TCase> cases = {
        {"truncated in a line", "[S]\nk=val", true, "val"},
        {"truncated in a header", "[S]\nk=v\n[T", true, "v"},
        {"no final newline", "[S]\nk=v", true, "v"},
        {"CRLF", "[S]\r\nk=v\r\n", true, "v"},
        {"stray carriage returns", "[S]\r\r\nk=v\r\r\n", true, "v"},
        {"binary", std::string("[S]\nk=v\n\x00\x01\xff", 11), false, std::nullopt},
        {"a 1 MB line", "[S]\nk=" + std::string(1 << 20, 'x') + "\n", false, std::nullopt},
        {"only garbage", "\xff\xfe garbage without structure", true, std::nullopt},
        {"key before any section", "k=v\n", true, std::nullopt},
    };
    for (const TCase& c : cases) {
        auto document = TProfileDocument::Parse(c.Text);
        ASSERT_EQ(document.has_value(), c.Parses) << c.What;
        if (document) {
            EXPECT_EQ(document->Value("S", "k"), c.Value) << c.What;
            auto again = TProfileDocument::Parse(document->Text());
            ASSERT_TRUE(again) << c.What;
            EXPECT_EQ(again->Entries(), document->Entries()) << c.What;
        }
    }
}

TEST_F(ProfileFiles, ReadsValuesDefaultsAndCutsLongValues)
{
    const std::string file = Path("app.INI");
    EXPECT_EQ(Read("S", "k", "fallback", file), "fallback") << "missing file";
    WriteWholeFile(file, "[S]\nk=value\nlong=" + std::string(2000, 'x') + "\n");
    EXPECT_EQ(Read("s", "K", "fallback", file), "value");
    EXPECT_EQ(Read("S", "other", "fallback", file), "fallback");
    EXPECT_EQ(Read("S", "other", nullptr, file), "");
    EXPECT_EQ(Read("S", "long", "", file), std::string(1023, 'x'));
    EXPECT_EQ(Read("S", "k", "", file, 4), "val");
}

TEST_F(ProfileFiles, ListsSectionsAndKeysWithZeros)
{
    const std::string file = Path("app.INI");
    WriteWholeFile(file, "[One]\na=1\nb=2\n[Two]\n");
    EXPECT_EQ(Read(nullptr, nullptr, "", file), std::string("One\0Two\0", 8));
    EXPECT_EQ(Read("one", nullptr, "", file), std::string("a\0b\0", 4));
    EXPECT_EQ(Read(nullptr, nullptr, "", file, 6), std::string("One\0", 4)) << "cut: size - 2";
}

// Every buffer size for a few lists: the whole list when it fits with its
// closing zero, otherwise what fits of it cut to size - 2 characters and two
// zeros, size - 2 returned; never a byte past the buffer.
TEST_F(ProfileFiles, ListsCutToAnySizeOfBuffer)
{
    struct TCase {
        const char* Text;
        const char* Section; // nullptr: the section names
        std::string List;    // the names, each with its zero
    };
    const std::vector<TCase> cases = {
        {"[S]\nab=1\nc=2\n", "S", std::string("ab\0c\0", 5)},
        {"[One]\n[x]\n", nullptr, std::string("One\0x\0", 6)},
        {"[A]\n[BB]\n[CCC]\n[a]\n", nullptr, std::string("A\0BB\0CCC\0", 9)},
        {"[S]\nk=1\nlonger key=2\nk=dup\n", "s", std::string("k\0longer key\0", 13)},
        {"", nullptr, ""},
        {"[Empty]\n", "Empty", ""},
    };
    const std::string file = Path("list.INI");
    for (const TCase& c : cases) {
        WriteWholeFile(file, c.Text);
        for (DWORD size = 1; size <= c.List.size() + 2; ++size) {
            // Exactly size bytes, so that a sanitizer sees any byte written past them.
            std::vector<char> buffer(size, 'X');
            const DWORD result = GetPrivateProfileString(c.Section, nullptr, "", buffer.data(), size, file.c_str());
            std::string expected = std::string(1, '\0');
            DWORD expectedResult = 0;
            if (c.List.size() + 1 <= size) {
                expected = c.List + '\0';
                expectedResult = static_cast<DWORD>(c.List.size());
            } else if (size >= 2) {
                expected = c.List.substr(0, size - 2) + std::string(2, '\0');
                expectedResult = size - 2;
            }
            EXPECT_EQ(std::string(buffer.data(), expected.size()), expected) << c.Text << " size " << size;
            EXPECT_EQ(result, expectedResult) << c.Text << " size " << size;
        }
    }
}

TEST_F(ProfileFiles, WritesMakeAPrivateFileAndEraseChangesOnlyWhatIsThere)
{
    const std::string file = Path("app.INI");
    EXPECT_EQ(WritePrivateProfileString("S", "k", nullptr, file.c_str()), 1);
    EXPECT_EQ(WritePrivateProfileString("S", nullptr, nullptr, file.c_str()), 1);
    EXPECT_FALSE(FileExists(file)) << "erasing from nothing makes no file";

    ASSERT_EQ(WritePrivateProfileString("S", "k", "v", file.c_str()), 1);
    EXPECT_EQ(ModeOf(file), 0600u);
    struct stat written {}, again {};
    ASSERT_EQ(stat(file.c_str(), &written), 0);
    ASSERT_EQ(WritePrivateProfileString("s", "K", "v", file.c_str()), 1);
    ASSERT_EQ(stat(file.c_str(), &again), 0);
    EXPECT_EQ(again.st_ino, written.st_ino) << "the value it has already: the file is left alone";
    EXPECT_EQ(ModeOf(TestWindowsFolder()), 0700u);
    ASSERT_EQ(WritePrivateProfileString("S", "j", "w", file.c_str()), 1);
    ASSERT_EQ(WritePrivateProfileString("S", "k", nullptr, file.c_str()), 1);
    EXPECT_EQ(ReadWholeFile(file), "[S]\nj=w\n");
    ASSERT_EQ(WritePrivateProfileString("S", nullptr, nullptr, file.c_str()), 1);
    EXPECT_EQ(ReadWholeFile(file), "");
    EXPECT_EQ(WritePrivateProfileString(nullptr, "k", "v", file.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileString("S", "k", "two\nlines", file.c_str()), 0);
}

TEST_F(ProfileFiles, ANameWithoutFolderLiesInTheWindowsFolder)
{
    ASSERT_EQ(WritePrivateProfileString("S", "k", "v", "plain.ini"), 1);
    EXPECT_EQ(ReadWholeFile(Path("plain.ini")), "[S]\nk=v\n");
    EXPECT_EQ(ProfileFilePath(nullptr), Path("win.ini"));
}

TEST_F(ProfileFiles, ADamagedFileReadsAsEmptyAndIsNeverOverwritten)
{
    const std::string file = Path("damaged.INI");
    const std::string binary("[S]\nk=v\n\x00\x00garbage", 17);
    WriteWholeFile(file, binary);
    EXPECT_EQ(Read("S", "k", "none", file), "none");
    EXPECT_EQ(WritePrivateProfileString("S", "k", "new", file.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileString("S", "k", nullptr, file.c_str()), 0);
    EXPECT_EQ(ReadWholeFile(file), binary);
}

TEST_F(ProfileFiles, NeverFollowsASymlinkInTheFilesPlace)
{
    const std::string target = TestSystemFolder() + "/elsewhere.ini";
    WriteWholeFile(target, "[S]\nk=secret\n");
    WriteWholeFile(Path("dummy"), "");
    const std::string link = Path("linked.INI");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_EQ(Read("S", "k", "none", link), "none");
    EXPECT_EQ(WritePrivateProfileString("S", "k", "new", link.c_str()), 0);
    EXPECT_EQ(ReadWholeFile(target), "[S]\nk=secret\n");
}

TEST_F(ProfileFiles, AMissingFolderOutsideOurOwnIsNotMade)
{
    const std::string file = TestSystemFolder() + "/not/there/app.INI";
    EXPECT_EQ(WritePrivateProfileString("S", "k", "v", file.c_str()), 0);
    EXPECT_FALSE(FileExists(TestSystemFolder() + "/not"));
    // Nor is our own folder made for a file below it that cannot be written.
    EXPECT_EQ(WritePrivateProfileString("S", "k", "v", (TestWindowsFolder() + "/not/app.INI").c_str()), 0);
    EXPECT_FALSE(FileExists(TestWindowsFolder()));
}

} // namespace
