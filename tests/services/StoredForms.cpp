#include "StoredForms.h"

#include "framework/controls/Screen.h"

#include <fstream>
#include <sstream>

TFormWithStore::TFormWithStore(const std::string& file) : TForm(nullptr)
{
    BeginLoad();
    SetBounds(100, 80, 400, 300);
    Store = new TFxIniCtrl(this);
    Store->SetTarget(itIniFile);
    Store->SetIniPrefix(ppFixed);
    Store->SetIniFile(file);
}

void TFormWithStore::AddComponent(TFxIniUse use, const std::string& key)
{
    Fx = new TFxForm(this);
    Fx->IniUse = use;
    if (!key.empty())
        Fx->IniKey = key;
    EndLoad();
}

void StoredFormTest::SetUp()
{
    ASSERT_TRUE(folder_.isValid());
    Screen->Display().SetSizeOverride({1024, 768});
}

void StoredFormTest::TearDown()
{
    Screen->Display().SetSizeOverride({});
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
