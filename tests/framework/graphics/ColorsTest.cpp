// The system colour scheme and colour conversions.
#include "PixelTest.h"

namespace {

struct SchemeRow {
    TColor Color;
    TColor Expected;  // plain RGB, red in the low byte
};

// The classic standard scheme, as the painting code relies on it.
const SchemeRow StandardRows[] = {
    {clBtnFace, RGB(0xC0, 0xC0, 0xC0)},       {clBtnShadow, RGB(0x80, 0x80, 0x80)},
    {clBtnHighlight, RGB(0xFF, 0xFF, 0xFF)},  {cl3DDkShadow, RGB(0x00, 0x00, 0x00)},
    {cl3DLight, RGB(0xC0, 0xC0, 0xC0)},       {clActiveCaption, RGB(0x00, 0x00, 0x80)},
    {clInactiveCaption, RGB(0x80, 0x80, 0x80)}, {clCaptionText, RGB(0xFF, 0xFF, 0xFF)},
    {clInactiveCaptionText, RGB(0xC0, 0xC0, 0xC0)}, {clWindow, RGB(0xFF, 0xFF, 0xFF)},
    {clWindowText, RGB(0x00, 0x00, 0x00)},    {clGrayText, RGB(0x80, 0x80, 0x80)},
    {clInfoBk, RGB(0xFF, 0xFF, 0xE1)},        {clInfoText, RGB(0x00, 0x00, 0x00)},
    {clHighlight, RGB(0x00, 0x00, 0x80)},     {clHighlightText, RGB(0xFF, 0xFF, 0xFF)},
    {clBackground, RGB(0x00, 0x80, 0x80)},    {clBtnText, RGB(0x00, 0x00, 0x00)},
};

TEST(Colors, StandardSchemeResolvesThroughColorToRGB)
{
    for (const SchemeRow& row : StandardRows)
        EXPECT_EQ(ColorToRGB(row.Color), row.Expected) << std::hex << row.Color;
    // The indices other modules name by number.
    EXPECT_EQ(clBtnFace, 0x8000000Fu);
    EXPECT_EQ(clBtnShadow, 0x80000010u);
    EXPECT_EQ(clGrayText, 0x80000011u);
    EXPECT_EQ(clBtnHighlight, 0x80000014u);
    EXPECT_EQ(clInfoText, 0x80000017u);
    EXPECT_EQ(clInfoBk, 0x80000018u);
}

TEST(Colors, PlainPaletteRelativeAndReservedValues)
{
    EXPECT_EQ(ColorToRGB(RGB(1, 2, 3)), 0x030201u);             // red in the low byte
    EXPECT_EQ(ColorToRGB(PALETTERGB(0x10, 0x20, 0x30)), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(SystemColorCount), 0u);
    EXPECT_EQ(ColorToQColor(RGB(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(QColorToColor(QColor(0xFF, 0x80, 0x00)), clRed | RGB(0, 0x80, 0));
    EXPECT_EQ(ColorToQRgb(clBtnShadow), qRgb(0x80, 0x80, 0x80));
}

TEST(Colors, ChangedSchemeColourPaintsAndResets)
{
    const int index = COLOR_BTNFACE;
    const COLORREF value = RGB(0xD4, 0xD0, 0xC8);
    ASSERT_TRUE(SetSysColors(1, &index, &value));
    auto bitmap = SentinelBitmap(4, 4);
    bitmap->Canvas()->Brush()->SetColor(clBtnFace);
    bitmap->Canvas()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(bitmap->Pixels(2, 2), value);
    ResetSysColors();
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(0xC0, 0xC0, 0xC0));

    const int bad = SystemColorCount;
    EXPECT_FALSE(SetSysColors(1, &bad, &value));
}

}  // namespace
