// The converter window as assistive technology reads it, offscreen: the
// number fields' text and value, the summary line's text, what the spin
// halves are called, which controls take the focus, and the hint window as a
// tooltip. The announcements of a change need a running accessibility bus:
// accessibility-check.py listens to them.
#include "tests/framework/controls/FrameworkTestSupport.h"

#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Hints.h"
#include "framework/controls/StdCtrls.h"
#include "window/Hagri1.h"
#include "window/Spin.h"

#include <QAccessible>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Collect(QAccessibleInterface* node, std::vector<QAccessibleInterface*>& all, int depth = 0)
{
    if (node == nullptr || depth > 12)
        return;
    all.push_back(node);
    for (int i = 0; i < node->childCount(); ++i)
        Collect(node->child(i), all, depth + 1);
}

std::vector<QAccessibleInterface*> Tree()
{
    std::vector<QAccessibleInterface*> all;
    Collect(QAccessible::queryAccessibleInterface(Form1->Widget()), all);
    return all;
}

QAccessibleInterface* Named(const std::string& name)
{
    for (QAccessibleInterface* node : Tree())
        if (node->text(QAccessible::Name).toStdString() == name)
            return node;
    return nullptr;
}

std::string ShownText(QAccessibleInterface* node)
{
    QAccessibleTextInterface* text = node->textInterface();
    return text != nullptr ? text->text(0, text->characterCount()).toStdString() : "(no text)";
}

class ConverterAccessible : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->CreateForm(&Form1);
        ASSERT_TRUE(ShowActive(Form1));
    }
    void TearDown() override { Application->DestroyForms(); }
};

TEST_F(ConverterAccessible, FieldsReadTheirNumberAsTextAndValueAndTheLineItsText)
{
    const std::pair<TPanel*, const char*> fields[] = {
        {Form1->Panel2, "Hijri day"},     {Form1->Panel3, "Hijri month"},     {Form1->Panel4, "Hijri year"},
        {Form1->Panel5, "Gregorian day"}, {Form1->Panel6, "Gregorian month"}, {Form1->Panel7, "Gregorian year"},
    };
    Form1->Panel7->SetCaption("-45"); // a negative year reads as one
    for (const auto& [field, name] : fields) {
        QAccessibleInterface* node = Named(name);
        ASSERT_NE(node, nullptr) << name;
        EXPECT_EQ(ShownText(node), field->Caption()) << name;
        EXPECT_EQ(node->text(QAccessible::Value).toStdString(), field->Caption()) << name;
        ASSERT_NE(node->valueInterface(), nullptr) << name;
        EXPECT_EQ(node->valueInterface()->currentValue().toDouble(), std::stod(field->Caption())) << name;
    }
    QAccessibleInterface* line = Named("Corresponding dates");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(ShownText(line), Form1->Label1->Caption());
    EXPECT_EQ(line->valueInterface(), nullptr) << "the line is text, not a number";
    EXPECT_EQ(ShownText(line).substr(2, 3), Form1->Label1->Caption().substr(2, 3)) << "substrings read too";

    // Buttons and frames say what they are by their names alone.
    EXPECT_EQ(Named("Today's Date")->textInterface(), nullptr);
    EXPECT_EQ(Named("Hijri Date")->textInterface(), nullptr);
}

TEST_F(ConverterAccessible, SpinHalvesSayWhatTheyChangeAndOnlyTheTwoButtonsTakeTheFocus)
{
    for (const char* what : {"Hijri day", "Hijri month", "Hijri year", "Gregorian day", "Gregorian month",
                             "Gregorian year"})
        for (const char* half : {"Up", "Down"}) {
            const std::string name = std::string(half) + ", Change " + what;
            QAccessibleInterface* node = Named(name);
            ASSERT_NE(node, nullptr) << name;
            EXPECT_EQ(node->role(), QAccessible::Button) << name;
            EXPECT_FALSE(node->state().focusable) << name;
        }
    std::vector<std::string> focusable;
    for (QAccessibleInterface* node : Tree())
        if (node->state().focusable && node->role() != QAccessible::Window)
            focusable.push_back(node->text(QAccessible::Name).toStdString());
    EXPECT_EQ(focusable, (std::vector<std::string>{"Today's Date", "Close"}));
    EXPECT_TRUE(Named("Today's Date")->state().focused);
    EXPECT_FALSE(Named("Close")->state().focused);
}

TEST(HintWindowAccessible, AHintWindowIsATooltipThatReadsItsHint)
{
    THintWindow hint(nullptr);
    hint.ActivateHint(Bounds(100, 100, 80, 20), "Gregorian day");
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(hint.Widget());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->role(), QAccessible::ToolTip);
    EXPECT_EQ(ShownText(node), "Gregorian day");
    hint.ReleaseHint();
}

} // namespace
