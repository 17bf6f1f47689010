// The settings store: its properties and setter rules, the names it resolves
// (file, key, section), values kept in a profile file and in the registry
// store, the errors it raises, and the value routines (lists, integers,
// fonts, colours, centring).
#include "services/FxApplication.h"
#include "services/FxIniCtrl.h"
#include "services/FxIniRoutines.h"
#include "services/FxRegIniFile.h"
#include "services/ServicesModule.h"
#include "StoredForms.h"

#include "framework/controls/Application.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
#include "framework/runtime/ConfigFolders.h"
#include "framework/runtime/ProgramFile.h"
#include "framework/runtime/RegistryStore.h"
#include "framework/runtime/SettingsErrors.h"
#include "framework/runtime/UserName.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace {

// Every folder of the store in a temporary folder of the test's own; the
// application titled as the program is.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        const std::string root = root_.path().toStdString();
        windows_ = root + "/windows";
        system_ = root + "/system";
        program_ = root + "/program";
        std::filesystem::create_directories(system_);
        std::filesystem::create_directories(program_);
        OverrideConfigFolder(cfWindows, windows_);
        OverrideConfigFolder(cfSystem, system_);
        OverrideConfigFolder(cfProgram, program_);
        savedTitle_ = Application->Title();
        Application->SetTitle("Dates Converter");
    }
    void TearDown() override
    {
        Application->SetTitle(savedTitle_);
        OverrideConfigFolder(cfWindows, "");
        OverrideConfigFolder(cfSystem, "");
        OverrideConfigFolder(cfProgram, "");
        SetUserNameSource(nullptr);
    }
    std::string UserRegistryFile() const { return windows_ + "/HKEY_CURRENT_USER.reg"; }

    TServicesModule services_;
    QTemporaryDir root_;
    std::string windows_, system_, program_, savedTitle_;
};

TEST_F(SettingsStore, DefaultsAndSetterRules)
{
    TFxIniCtrl store(nullptr);
    EXPECT_FALSE(store.AlphaCounter());
    EXPECT_TRUE(store.Common());
    EXPECT_EQ(store.IniFile(), "");
    EXPECT_EQ(store.IniPrefix(), ppWindows);
    EXPECT_EQ(store.MaxEntries(), 16);
    EXPECT_FALSE(store.NetUser());
    EXPECT_EQ(store.RegRoot(), rpCurrentUser);
    EXPECT_EQ(store.Target(), itAuto);
    EXPECT_EQ(store.EffectiveTarget(), itRegistry);

    int changes = 0;
    store.OnChange = [&](TObject*) { ++changes; };
    store.SetMaxEntries(40);
    EXPECT_EQ(store.MaxEntries(), 40);
    store.SetAlphaCounter(true);
    EXPECT_EQ(store.MaxEntries(), 26) << "turning the counter on lowers the maximum";
    store.SetMaxEntries(27);
    EXPECT_EQ(store.MaxEntries(), 26) << "refused while the counter is on";
    store.SetMaxEntries(20);
    store.SetAlphaCounter(false);
    EXPECT_EQ(store.MaxEntries(), 20);
    EXPECT_EQ(changes, 4);
    store.SetAlphaCounter(false);
    store.SetMaxEntries(20);
    EXPECT_EQ(changes, 4) << "no notice without a real change";

    store.SetIniFile("settings");
    EXPECT_EQ(store.IniFile(), "settings.INI");
    store.SetIniFile("/opt/my.app/settings.cfg");
    EXPECT_EQ(store.IniFile(), "/opt/my.app/settings.cfg");
    store.SetIniFile("/opt/my.app/settings");
    EXPECT_EQ(store.IniFile(), "/opt/my.app/settings.INI");

    store.SetTarget(itIniFile);
    EXPECT_EQ(store.EffectiveTarget(), itIniFile);
    store.SetTarget(itAuto);
    EXPECT_EQ(store.EffectiveTarget(), itRegistry);

    SetUserNameSource([] { return std::string("jdoe"); });
    store.SetNetUser(true);
    EXPECT_EQ(store.User(), "jdoe") << "NetUser fetches the logged-on user";
}

TEST_F(SettingsStore, FileNamesFollowThePrefix)
{
    TFxIniCtrl store(nullptr);
    const std::string programIni = ExtractFileName(ChangeFileExt(ProgramFilePath(), ".INI"));
    EXPECT_EQ(store.GetIniFileName(), windows_ + "/" + programIni);
    EXPECT_EQ(store.IniFile(), ChangeFileExt(ProgramFilePath(), ".INI")) << "an empty IniFile is filled in";
    store.SetIniFile("/somewhere/else/Prefs");
    store.SetIniPrefix(ppProgram);
    EXPECT_EQ(store.GetIniFileName(), program_ + "/Prefs.INI");
    store.SetIniPrefix(ppSystem);
    EXPECT_EQ(store.GetIniFileName(), system_ + "/Prefs.INI");
    store.SetIniPrefix(ppFixed);
    EXPECT_EQ(store.GetIniFileName(), "/somewhere/else/Prefs.INI");
}

TEST_F(SettingsStore, RegistryKeyAndSectionNames)
{
    TFxIniCtrl store(nullptr);
    EXPECT_EQ(store.GetRegKey(), "Software\\Dates Converter\\");
    store.SetRegPath("Software\\Elsewhere");
    EXPECT_EQ(store.GetRegKey(), "Software\\Elsewhere\\");
    store.SetRegPath("   ");
    EXPECT_EQ(store.GetRegKey(), "Software\\Dates Converter\\");

    EXPECT_EQ(store.GetSectionName(""), "Common") << "blank, no last section";
    EXPECT_EQ(store.LastSection(), "");
    EXPECT_EQ(store.GetSectionName("#ROOT"), "");
    EXPECT_EQ(store.GetSectionName("Windows"), "Windows");
    EXPECT_EQ(store.GetSectionName(" "), "Windows") << "blank gives the last section";

    store.SetTarget(itIniFile);
    store.SetCommon(false);
    store.SetUser("JOHN");
    EXPECT_EQ(store.GetSectionName("Common"), "JOHN.Common");
    EXPECT_EQ(store.LastSection(), "JOHN.Common");
    EXPECT_EQ(store.GetSectionName(""), "JOHN.Common");
    EXPECT_EQ(store.GetSectionName("#ROOT"), "JOHN.#ROOT") << "#ROOT is the registry's only";

    SetUserNameSource([] { return std::string("mary"); });
    store.SetNetUser(true);
    EXPECT_EQ(store.GetSectionName("Common"), "mary.Common");
    SetUserNameSource([] { return std::optional<std::string>(); });
    EXPECT_EQ(store.GetNetUserName(), "(Unknown)");
    SetUserNameSource([] { return std::string(64, 'u'); });
    EXPECT_EQ(store.GetNetUserName(), "(Unknown)") << "more than 63 characters do not fit";
    SetUserNameSource([] { return std::string(63, 'u'); });
    EXPECT_EQ(store.GetNetUserName(), std::string(63, 'u'));
}

// What a form keeps, in each target, read back as written.
TEST_F(SettingsStore, EveryStoredKindRoundTripsInBothTargets)
{
    const std::vector<std::pair<std::string, std::string>> values = {
        {"Form1", "200,0,1,100,80,500,380"},
        {"Form2", "200,2,3,-8,-8,1032,776"},
        {"Form1Color", ColorToString(clBtnFace)},
        {"Form2Color", ColorToString(RGB(0x12, 0x34, 0x56))},
        {"Form1Font", "MS Sans Serif,8,clWindowText,1,0,1,0"},
        {"Odd", "a=b; [c] \"q\" 'r'"},
        {"Blanks", "  both ends  "},
        {"Text", "Ümlaut Straße ☾"},
        {"Empty", ""},
    };
    for (TFxIniTarget target : {itIniFile, itRegistry}) {
        TFxIniCtrl store(nullptr);
        store.SetTarget(target);
        for (const auto& [name, value] : values)
            store.WriteString("Common", name, value);
        TFxIniCtrl reader(nullptr);
        reader.SetTarget(target);
        for (const auto& [name, value] : values)
            EXPECT_EQ(reader.ReadString("Common", name, "<none>"), value) << name << " target " << target;
        reader.EraseValue("Common", "Form1Color");
        reader.EraseValue("Common", "NeverThere");
        EXPECT_EQ(reader.ReadString("Common", "Form1Color", "<none>"), "<none>");
        EXPECT_EQ(reader.ReadString("Missing", "Form1", "<none>"), "<none>");
    }
    EXPECT_EQ(StringToColor(TFxIniCtrl(nullptr).ReadString("Common", "Form2Color", "")), RGB(0x12, 0x34, 0x56));
}

TEST_F(SettingsStore, TheGlobalStoreWritesTheUsersRegistryUnderTheProgramsKey)
{
    TFxIniCtrl* store = ApplicationServices->GlobalIniCtrl();
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store->EffectiveTarget(), itRegistry);
    store->WriteString("Common", "Form1", "200,0,1,100,80,500,380");
    const std::string text = ReadAll(UserRegistryFile());
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Dates Converter\\Common]\n"
                        "\"Form1\"=\"200,0,1,100,80,500,380\"\n"),
              std::string::npos)
        << text;
    store->WriteString("#ROOT", "Top", "at the key itself");
    EXPECT_NE(ReadAll(UserRegistryFile()).find("[HKEY_CURRENT_USER\\Software\\Dates Converter]\n"
                                               "\"Top\"=\"at the key itself\"\n"),
              std::string::npos);
}

TEST_F(SettingsStore, ValueTooLongForTheReadBufferIsCut)
{
    TFxIniCtrl store(nullptr);
    store.SetTarget(itIniFile);
    store.WriteString("Common", "Long", std::string(1500, 'x'));
    EXPECT_EQ(store.ReadString("Common", "Long", ""), std::string(1023, 'x'));
}

TEST_F(SettingsStore, FailuresRaiseTheStoresErrors)
{
    // A value of another type than a string.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Dates Converter\\Common", 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD number = 7;
    ASSERT_EQ(RegSetValueEx(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
    RegCloseKey(key);
    TFxIniCtrl store(nullptr);
    try {
        store.ReadString("Common", "Count", "");
        FAIL() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Count'");
    }

    // A machine-wide root cannot be written, and nothing is made elsewhere.
    store.SetRegRoot(rpLocalMachine);
    EXPECT_EQ(store.ReadString("Common", "Form1", "none"), "none");
    try {
        store.WriteString("Common", "Form1", "200,0,1,0,0,1,1");
        FAIL() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Failed to create key Common");
    }
    EXPECT_TRUE(std::filesystem::is_empty(system_));

    // A damaged profile file is named and left as it was.
    TFxIniCtrl ini(nullptr);
    ini.SetTarget(itIniFile);
    ini.SetIniFile("Damaged");
    const std::string file = ini.GetIniFileName();
    std::filesystem::create_directories(windows_);
    const std::string binary("[Common]\n\0\0\0", 12);
    std::ofstream(file, std::ios::binary) << binary;
    EXPECT_EQ(ini.ReadString("Common", "Form1", "none"), "none");
    try {
        ini.WriteString("Common", "Form1", "x");
        FAIL() << "no error";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + file);
    }
    EXPECT_EQ(ReadAll(file), binary);
}

TEST_F(SettingsStore, AStoreOnAFormIsAnnouncedToTheFormsComponents)
{
    // A listener that records the insert notices it hears.
    struct TListener : TComponent {
        using TComponent::TComponent;
        std::vector<TComponent*> inserted;
        void Notification(TComponent* component, TOperation operation) override
        {
            if (operation == opInsert)
                inserted.push_back(component);
        }
    };
    TComponent owner(nullptr);
    auto* listener = new TListener(&owner);
    auto* store = new TFxIniCtrl(&owner);
    ASSERT_EQ(listener->inserted.size(), 1u);
    EXPECT_EQ(dynamic_cast<TFxIniCtrl*>(listener->inserted[0]), store) << "heard as what it is";
    store->NotifyInserted();
    EXPECT_EQ(listener->inserted.size(), 1u) << "once";
}

TEST(ValueRoutines, SplitValue)
{
    struct TCase {
        std::string Text;
        std::vector<std::string> Fields;
    };
    const std::vector<TCase> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a,,b", {"a", "", "b"}},
        {"a,b,", {"a", "b"}},
        {",", {""}},
        {",a", {"", "a"}},
        {"200,0,1,100,80,500,380", {"200", "0", "1", "100", "80", "500", "380"}},
        {std::string(300, 'x') + "," + std::string(10, 'y'), {std::string(300, 'x'), std::string(10, 'y')}},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> list = {"kept"};
        SplitValue(c.Text, ',', list);
        std::vector<std::string> expected = {"kept"};
        expected.insert(expected.end(), c.Fields.begin(), c.Fields.end());
        EXPECT_EQ(list, expected) << c.Text.substr(0, 40);
    }
    EXPECT_EQ(JoinIntegers({200, 0, 1, -8, -8, 1032, 776}, ','), "200,0,1,-8,-8,1032,776");
    EXPECT_EQ(JoinIntegers({}, ','), "");
}

TEST(ValueRoutines, ColoursByNameAndByValue)
{
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(clRed), "clRed");
    EXPECT_EQ(ColorToString(clSilver), "clSilver");
    EXPECT_EQ(ColorToString(RGB(0x12, 0x34, 0x56)), "$00563412");
    EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(StringToColor("clLtGray"), clSilver);
    EXPECT_EQ(StringToColor("$00563412"), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(StringToColor("$80000005"), clWindow);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("-1"), 0xFFFFFFFFu);
    for (const char* bad : {"", "clNoSuch", "$", "$123456789", "$xyz", "12abc"}) {
        try {
            StringToColor(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(ValueRoutines, FontsAsText)
{
    TFont font;
    font.SetName("Arial");
    font.SetSize(12);
    font.SetColor(RGB(1, 2, 3));
    font.SetStyle({fsBold, fsStrikeOut});
    const std::string text = FontToString(font);
    EXPECT_EQ(text, "Arial,12,$00030201,1,0,0,1");

    TFont back;
    StringToFont(text, back);
    EXPECT_EQ(back.Name(), "Arial");
    EXPECT_EQ(back.Size(), 12);
    EXPECT_EQ(back.Color(), RGB(1, 2, 3));
    EXPECT_EQ(back.Style(), (TFontStyles{fsBold, fsStrikeOut}));

    StringToFont("Times New Roman,big,clWindowText,256,257,0,x", back);
    EXPECT_EQ(back.Name(), "Times New Roman");
    EXPECT_EQ(back.Size(), 10) << "a size that is not a number";
    EXPECT_EQ(back.Style(), TFontStyles{fsItalic}) << "only a non-zero low byte counts";

    StringToFont("Courier,9,clRed,0,0,0", back);
    EXPECT_EQ(back.Name(), "Times New Roman") << "six fields change nothing";
    EXPECT_THROW(StringToFont("Courier,9,clNoSuch,0,0,0,0", back), EConvertError);
    EXPECT_EQ(back.Name(), "Times New Roman") << "a bad colour changes nothing";
}

TEST(ValueRoutines, CenterOnScreenKeepsTheSize)
{
    TForm form(nullptr);
    form.SetBounds(5, 7, 301, 201);
    CenterOnScreen(form);
    EXPECT_EQ(form.Left(), (Screen->Width() - 301) / 2);
    EXPECT_EQ(form.Top(), (Screen->Height() - 201) / 2);
    EXPECT_EQ(form.Width(), 301);
    EXPECT_EQ(form.Height(), 201);
}

} // namespace
