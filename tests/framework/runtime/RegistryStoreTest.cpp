// The registry store: REGEDIT4 text per root, the classic calls and their
// results, machine-wide roots read only, damaged files left alone.
#include "TempFolders.h"

#include "framework/runtime/RegistryDocument.h"
#include "framework/runtime/RegistryStore.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr const char* Root = "HKEY_CURRENT_USER";

class RegistryStore : public ::testing::Test {
protected:
    void SetUp() override { EmptyTestFolders(); }
    void TearDown() override
    {
        for (HKEY key : opened_)
            RegCloseKey(key);
    }
    std::string UserFile() const { return TestWindowsFolder() + "/HKEY_CURRENT_USER.reg"; }

    HKEY Create(HKEY root, const char* path, DWORD* disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition),
                  ERROR_SUCCESS);
        opened_.push_back(key);
        return key;
    }
    LONG SetString(HKEY key, const char* name, const std::string& value)
    {
        return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    }
    std::string QueryString(HKEY key, const char* name)
    {
        char buffer[512] = {};
        DWORD size = sizeof buffer;
        DWORD type = 0;
        if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
            return "<none>";
        return std::string(buffer);
    }

    std::vector<HKEY> opened_;
};

TEST(RegistryDocument, ReadsTheLayoutAndWritesItBack)
{
    const std::string text = "REGEDIT4\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\Software\\Dates Converter\\Common]\n"
                             "\"Form1\"=\"200,0,1,100,80,500,380\"\n"
                             "\"Quote \\\"and\\\\ slash\"=\"C:\\\\dir \\\"x\\\"\"\n"
                             "\"Count\"=dword:0000001a\n"
                             "\"Lines\"=hex(1):6f,0a,6b\n"
                             "\"Bin\"=hex:01,ff\n"
                             "@=\"default\"\n";
    auto document = TRegistryDocument::Parse(text, Root);
    ASSERT_TRUE(document);
    const std::string path = "software\\DATES CONVERTER\\common";
    EXPECT_EQ(document->FindValue(path, "form1")->Data, "200,0,1,100,80,500,380");
    EXPECT_EQ(document->FindValue(path, "Quote \"and\\ slash")->Data, "C:\\dir \"x\"");
    EXPECT_EQ(document->FindValue(path, "Count")->Data, std::string("\x1a\0\0\0", 4));
    EXPECT_EQ(document->FindValue(path, "Lines")->Data, "o\nk");
    EXPECT_EQ(document->FindValue(path, "")->Data, "default");
    EXPECT_TRUE(document->KeyExists("Software"));
    EXPECT_FALSE(document->KeyExists("Soft"));
    EXPECT_EQ(document->Text(Root), text);
}

TEST(RegistryDocument, RefusesWhatIsNotARegistryFileOfThisRoot)
{
    const char* refused[] = {
        "garbage\n",
        "REGEDIT4\n\"v\"=\"value before any key\"\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n",
        "REGEDIT4\n[-HKEY_CURRENT_USER\\Software]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\a\\\\b]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER]\n\"v\"=-\n",
        "REGEDIT4\n[HKEY_CURRENT_USER]\n\"v\"=\"unterminated\n",
        "REGEDIT4\n[HKEY_CURRENT_USER]\n\"v\"=hex:1,zz\n",
        "REGEDIT4\n[HKEY_CURRENT_USER]\n\"v\"=hex:1,02\n",
        "REGEDIT4\n[HKEY_CURRENT_USERSoftware]\n",
        "REGEDIT4\n[HKEY_CURRENT_USER]\n\"v\"=dword:123456789\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\n",
    };
    for (const char* text : refused)
        EXPECT_FALSE(TRegistryDocument::Parse(text, Root)) << text;
    // What a person may well write is read.
    EXPECT_TRUE(TRegistryDocument::Parse("", Root));
    EXPECT_TRUE(TRegistryDocument::Parse("\xEF\xBB\xBFREGEDIT4\r\n; note \\\r\n[HKEY_CURRENT_USER]\r\n"
                                         "\"b\"=hex:01,\\\r\n  02\r\n",
                                         Root));
}

// Thousands of keys, each listed twice in another case: the second listing
// merges into the first, later values replace earlier ones, names keep their
// first spelling, and deleting a value leaves the others found.
TEST(RegistryDocument, ManyKeysListedTwiceMergeIntoTheirFirstListing)
{
    constexpr int Keys = 5000;
    auto numbered = [](const char* prefix, int i) { return std::string(prefix).append(std::to_string(i)); };
    std::string text = "REGEDIT4\n";
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < Keys; ++i) {
            text.append("\n[HKEY_CURRENT_USER\\").append(numbered(pass == 0 ? "Key" : "KEY", i)).append("]\n");
            text.append(pass == 0 ? "\"Value\"=\"first\"\n\"Other\"=\"o\"\n" : "\"VALUE\"=\"second\"\n");
        }
    auto document = TRegistryDocument::Parse(text, Root);
    ASSERT_TRUE(document);
    ASSERT_EQ(document->Keys().size(), std::size_t{Keys});
    for (int i = 0; i < Keys; i += 97) {
        const TRegistryKey& key = document->Keys()[static_cast<std::size_t>(i)];
        EXPECT_EQ(key.Path, numbered("Key", i));
        ASSERT_EQ(key.Values.size(), 2u);
        EXPECT_EQ(key.Values[0], (TRegistryValue{"Value", 1, "second"}));
    }
    const std::string path = numbered("kEy", 1234);
    EXPECT_TRUE(document->DeleteValue(path, "value"));
    EXPECT_EQ(document->FindValue(path, "Value"), nullptr);
    ASSERT_NE(document->FindValue(path, "OTHER"), nullptr) << "found after the one before it went";
    EXPECT_EQ(document->FindValue(path, "OTHER")->Data, "o");
    document->SetValue(path, {"other", 1, "changed"});
    document->SetValue(path, {"New", 1, "n"});
    document->SetValue(path, {"NEW", 3, "\x01"});
    EXPECT_EQ(document->FindKey(path)->Values,
              (std::vector<TRegistryValue>{{"Other", 1, "changed"}, {"New", 3, "\x01"}}));
    auto again = TRegistryDocument::Parse(document->Text(Root), Root);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Keys(), document->Keys());
}

TEST_F(RegistryStore, CreatesKeysSetsQueriesAndDeletesValues)
{
    DWORD disposition = 0;
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Dates Converter\\", &disposition);
    EXPECT_EQ(disposition, DWORD{REG_CREATED_NEW_KEY});
    Create(HKEY_CURRENT_USER, "software\\dates converter", &disposition);
    EXPECT_EQ(disposition, DWORD{REG_OPENED_EXISTING_KEY});
    HKEY common = Create(key, "Common");

    EXPECT_EQ(SetString(common, "Form1", "200,0,1,100,80,500,380"), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(common, "FORM1"), "200,0,1,100,80,500,380");
    const DWORD number = 0x12345678;
    EXPECT_EQ(RegSetValueEx(common, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueEx(common, "Bad", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 2),
              ERROR_INVALID_PARAMETER);
    const std::string huge(MaxRegistryValueSize + 1, 'x');
    EXPECT_EQ(RegSetValueEx(common, "Huge", 0, REG_BINARY, reinterpret_cast<const BYTE*>(huge.data()),
                            MaxRegistryValueSize + 1),
              ERROR_INVALID_PARAMETER);
    struct stat written {}, again {};
    ASSERT_EQ(stat(UserFile().c_str(), &written), 0);
    EXPECT_EQ(SetString(common, "form1", "200,0,1,100,80,500,380"), ERROR_SUCCESS);
    ASSERT_EQ(stat(UserFile().c_str(), &again), 0);
    EXPECT_EQ(again.st_ino, written.st_ino) << "the value it has already: the file is left alone";

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(common, "Form1", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_SZ});
    EXPECT_EQ(size, 23u) << "the closing zero counts";
    BYTE small[4];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueEx(common, "Form1", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 23u);
    DWORD read = 0;
    size = sizeof read;
    EXPECT_EQ(RegQueryValueEx(common, "Count", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_DWORD});
    EXPECT_EQ(read, number);

    EXPECT_EQ(RegDeleteValue(common, "count"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(common, "Count"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(common, "Count", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(ReadWholeFile(UserFile()), "REGEDIT4\n\n"
                                         "[HKEY_CURRENT_USER\\Software\\Dates Converter]\n\n"
                                         "[HKEY_CURRENT_USER\\Software\\Dates Converter\\Common]\n"
                                         "\"Form1\"=\"200,0,1,100,80,500,380\"\n");
    EXPECT_EQ(ModeOf(UserFile()), 0600u);
}

TEST_F(RegistryStore, OpeningAMissingKeyOrABadPathOrHandleFails)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Nothing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_FALSE(FileExists(UserFile())) << "opening makes nothing";
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "\\Lead", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "a\\\\b", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    HKEY bogus = reinterpret_cast<HKEY>(std::uintptr_t{0x1234});
    EXPECT_EQ(RegOpenKeyEx(bogus, "x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(bogus), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    HKEY readOnly = nullptr;
    Create(HKEY_CURRENT_USER, "Software");
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &readOnly), ERROR_SUCCESS);
    EXPECT_EQ(SetString(readOnly, "v", "x"), ERROR_ACCESS_DENIED);
    HKEY writeOnly = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_SET_VALUE, &writeOnly), ERROR_SUCCESS);
    EXPECT_EQ(SetString(writeOnly, "v", "x"), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(writeOnly, "v"), "<none>") << "opened to write, not to read";
    EXPECT_EQ(QueryString(readOnly, "v"), "x");
    EXPECT_EQ(RegCloseKey(writeOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_INVALID_HANDLE) << "closed once only";
}

TEST_F(RegistryStore, MachineWideRootsAreReadFromTheSystemFolderAndNeverWritten)
{
    WriteWholeFile(TestSystemFolder() + "/HKEY_LOCAL_MACHINE.reg",
                   "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Vendor]\n\"Setting\"=\"machine\"\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Vendor", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, "Setting"), "machine");
    EXPECT_EQ(SetString(key, "Setting", "changed"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValue(key, "Setting"), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    HKEY created = nullptr;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA})
        EXPECT_EQ(RegCreateKeyEx(root, "Software\\New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
                  ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Vendor", 0, KEY_WRITE, &created), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(FileExists(TestWindowsFolder())) << "nothing made anywhere else";
}

TEST_F(RegistryStore, ADamagedFileReadsAsEmptyAndIsNeverOverwritten)
{
    const std::string damaged = "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"v\"=\"unterminated\n";
    WriteWholeFile(UserFile(), damaged);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BADDB);
    EXPECT_EQ(SetString(HKEY_CURRENT_USER, "v", "x"), ERROR_BADDB);
    EXPECT_EQ(ReadWholeFile(UserFile()), damaged);
    EXPECT_EQ(RegistryFilePath(HKEY_CURRENT_USER), UserFile()) << "a caller can name the file";
}

// A damaged file is reported by the line where it stops being a registry file.
TEST(RegistryDocument, ADamagedTextIsReportedByItsLine)
{
    struct TCase {
        std::string Text;
        std::size_t Line;
        const char* Reason;
    };
    const std::vector<TCase> cases = {
        {"garbage\n", 1, "not REGEDIT4, the first line of a registry file"},
        {"\n; note\n\nREGEDIT5\n", 4, "not REGEDIT4, the first line of a registry file"},
        {"REGEDIT4\n\n\"v\"=\"value before any key\"\n", 3, "a value before the first key"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A]\n[HKEY_LOCAL_MACHINE\\Software]\n", 3,
         "not a key of HKEY_CURRENT_USER"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\r\n", 2, "a key without its closing bracket"},
        {"REGEDIT4\n[HKEY_CURRENT_USER]\nv=\"unquoted name\"\n", 3, "a value name not in quotes"},
        {"REGEDIT4\n[HKEY_CURRENT_USER]\n\"v\" \"no equals\"\n", 3, "a value without '='"},
        {"REGEDIT4\n[HKEY_CURRENT_USER]\n\"v\"=\"unterminated\n", 3, "value data that cannot be read"},
        // A hex list over three lines counts from its first; the next line is 6.
        {"REGEDIT4\n[HKEY_CURRENT_USER]\n\"b\"=hex:01,\\\n  02,\\\n  03\n\"c\"=hex:zz\n", 6,
         "value data that cannot be read"},
        {"\xEF\xBB\xBFREGEDIT4\n[HKEY_CURRENT_USER]\n" + std::string(MaxRegistryLineLength + 1, ';') + "\n", 3,
         "a line too long"},
    };
    for (const TCase& c : cases) {
        TRegistryFault fault;
        EXPECT_FALSE(TRegistryDocument::Parse(c.Text, Root, &fault)) << c.Text.substr(0, 80);
        EXPECT_EQ(fault.Line, c.Line) << c.Text.substr(0, 80);
        EXPECT_EQ(fault.Reason, c.Reason) << c.Text.substr(0, 80);
    }
}

TEST_F(RegistryStore, ADamagedFileIsNamedWithItsLine)
{
    EXPECT_EQ(RegistryFileFault(HKEY_CURRENT_USER), "") << "no file";
    WriteWholeFile(UserFile(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"v\"=\"unterminated\n");
    EXPECT_EQ(RegistryFileFault(HKEY_CURRENT_USER), UserFile() + ", line 4: value data that cannot be read");
    WriteWholeFile(UserFile(), "REGEDIT4\n");
    EXPECT_EQ(RegistryFileFault(HKEY_CURRENT_USER), "") << "a sound file";
    std::filesystem::remove(UserFile());
    std::filesystem::create_directory(UserFile());
    EXPECT_EQ(RegistryFileFault(HKEY_CURRENT_USER), UserFile() + ": not a plain file we may read");
}

TEST_F(RegistryStore, EveryValueSurvivesTheFile)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Kinds");
    const std::string texts[] = {"=;[]", "\"quotes\" and \\back\\slashes\\", "  blanks  ", "Ümlaut ☾",
                                 "two\nlines\r\n", ""};
    for (std::size_t i = 0; i < std::size(texts); ++i)
        ASSERT_EQ(SetString(key, std::string(1, 't').append(std::to_string(i)).c_str(), texts[i]), ERROR_SUCCESS);
    const std::string bytes("\0\x01\xff", 3);
    ASSERT_EQ(RegSetValueEx(key, "bin", 0, REG_BINARY, reinterpret_cast<const BYTE*>(bytes.data()), 3),
              ERROR_SUCCESS);
    auto document = TRegistryDocument::Parse(ReadWholeFile(UserFile()), Root);
    ASSERT_TRUE(document);
    for (std::size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(QueryString(key, std::string(1, 't').append(std::to_string(i)).c_str()), texts[i]);
    EXPECT_EQ(document->FindValue("Software\\Kinds", "bin")->Data, bytes);
}

} // namespace
