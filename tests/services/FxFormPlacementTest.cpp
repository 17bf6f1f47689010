// The window's placement kept in a settings store: no store touches no file;
// a record written on destruction is read back on the next show; records
// that are not ours, positions off the screen, partial options, a hidden show
// command and fields that are not numbers.
#include "StoredForms.h"

#include "framework/controls/Application.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// A form class of its own, outside any namespace, as a program's forms are:
// the component's default value name comes from it.
class TNotesForm : public TFormWithStore {
public:
    explicit TNotesForm(const std::string& file) : TFormWithStore(file) { AddComponent(ioUseLink); }
};

namespace {

// A form with a store of its own (in a temporary folder) and the component.
class TPlacedForm : public TFormWithStore {
public:
    TPlacedForm(const std::string& file, TFxIniUse use) : TFormWithStore(file) { AddComponent(use, "PlacedForm"); }
};

class Placement : public StoredFormTest {
protected:
    std::string File() const { return Folder() + "/placement.ini"; }
    void WriteRecord(const std::string& record)
    {
        QFile file(QString::fromStdString(File()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("[Common]\nPlacedForm=" + record + "\n").c_str());
    }
};

TEST_F(Placement, WithNoStoreNothingIsReadOrWritten)
{
    {
        TPlacedForm form(File(), ioNone);
        EXPECT_EQ(form.Fx->IniLink(), form.Store);
        form.Show();
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(File())));
}

TEST_F(Placement, ARecordWrittenOnCloseIsRestoredOnTheNextShow)
{
    {
        TPlacedForm form(File(), ioUseLink);
        form.Fx->IniSaveOptions = {soPos, soSize, soState, soColor};
        form.Store->WriteString("Common", "PlacedFormFont", "stale");
        form.Show();
        form.SetBounds(120, 90, 450, 320);
    }
    TPlacedForm reader(File(), ioUseLink);
    EXPECT_EQ(reader.Store->ReadString("Common", "PlacedForm", ""), "200,0,1,120,90,570,410");
    EXPECT_EQ(reader.Store->ReadString("Common", "PlacedFormFont", "gone"), "gone"); // soFont not set: erased
    EXPECT_EQ(reader.Store->ReadString("Common", "PlacedFormColor", ""), "clBtnFace");
    reader.Show();
    EXPECT_EQ(reader.BoundsRect(), (TRect{120, 90, 570, 410}));
}

TEST_F(Placement, ARecordThatIsNotOursCountsAsNoData)
{
    WriteRecord("100,0,1,10,10,300,300");
    TPlacedForm form(File(), ioUseLink);
    form.Fx->Options = {foAutoShow, foAutoCenter};
    int noData = 0;
    form.Fx->OnNoRestoreData = [&](TObject* sender) { noData += sender == form.Fx ? 1 : 0; };
    form.Show();
    EXPECT_EQ(noData, 1);
    EXPECT_EQ(form.Left(), (1024 - 400) / 2); // centred instead
}

TEST_F(Placement, PositionsOffTheScreenArePulledBack)
{
    WriteRecord("200,0,1,5000,80,5400,380");
    TPlacedForm form(File(), ioUseLink);
    form.Show();
    EXPECT_EQ(form.Left(), 512);
    EXPECT_EQ(form.BoundsRect().Right, 1024);
}

TEST_F(Placement, SizeWithoutPositionKeepsWhereTheFormIs)
{
    WriteRecord("200,0,1,10,20,310,270");
    TPlacedForm form(File(), ioUseLink);
    form.Fx->IniSaveOptions = {soSize, soState}; // the converter window's options
    form.Show();
    EXPECT_EQ(form.BoundsRect(), (TRect{100, 80, 400, 330}));
}

TEST_F(Placement, WithoutAutoShowTheRestoredCommandHidesTheForm)
{
    WriteRecord("200,0,1,100,80,500,380");
    TPlacedForm form(File(), ioUseLink);
    form.Fx->Options = {};
    form.Show();
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

TEST_F(Placement, AFieldThatIsNotANumberIsReportedAndNothingApplied)
{
    WriteRecord("200,0,1,1x0,80,500,380");
    TPlacedForm form(File(), ioUseLink);
    form.Fx->IniSaveOptions = {soPos, soSize, soState, soColor};
    form.Store->WriteString("Common", "PlacedFormColor", "clRed");
    std::vector<std::string> reported;
    TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
    form.Show();
    Application->OnException = saved;
    EXPECT_EQ(reported, (std::vector<std::string>{"'1x0' is not a valid integer value"}));
    EXPECT_EQ(form.BoundsRect(), (TRect{100, 80, 500, 380}));
    EXPECT_NE(form.Color(), clRed); // the rest of the restore is skipped
    EXPECT_TRUE(IsWindowVisible(form.Handle())); // and the window is still shown
}

TEST_F(Placement, TheLinkEmptiesWhenItsStoreGoesAndTakesANewOne)
{
    TPlacedForm form(File(), ioUseLink);
    delete form.Store;
    EXPECT_EQ(form.Fx->IniLink(), nullptr);
    auto* another = new TFxIniCtrl(&form);
    EXPECT_EQ(form.Fx->IniLink(), another);
}

// Every default but the store: the record lives in section "Common" under
// the form's class name without its T, holds the position, size and state,
// and the restored window is shown.
TEST_F(Placement, TheDefaultsKeepTheWholePlacementUnderCommonAndTheFormsName)
{
    {
        QFile file(QString::fromStdString(File()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Common]\nNotesForm=200,0,1,130,95,530,395\n");
    }
    TNotesForm form(File());
    EXPECT_EQ(form.Fx->IniKey, "NotesForm");
    // The store was last asked about another section: the form names its own.
    form.Store->ReadString("Other", "Anything", "");
    form.Show();
    EXPECT_EQ(form.BoundsRect(), (TRect{130, 95, 530, 395}));
    EXPECT_TRUE(IsWindowVisible(form.Handle()));

    // A form class inside a namespace is named the same way.
    TPlacedForm inNamespace(File(), ioNone);
    EXPECT_EQ(TFxForm(&inNamespace).IniKey, "PlacedForm");

    // On an owner that is no form the value name is "Form".
    TComponent owner(nullptr);
    EXPECT_EQ(TFxForm(&owner).IniKey, "Form");
}

} // namespace
