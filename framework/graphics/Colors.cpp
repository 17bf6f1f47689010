#include "framework/graphics/Colors.h"

#include "framework/runtime/sysutils.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace {

// The classic standard scheme, by system colour index.
constexpr std::array<COLORREF, SystemColorCount> StandardScheme = {
    RGB(0xC0, 0xC0, 0xC0),  //  0 scroll bar
    RGB(0x00, 0x80, 0x80),  //  1 desktop
    RGB(0x00, 0x00, 0x80),  //  2 active caption
    RGB(0x80, 0x80, 0x80),  //  3 inactive caption
    RGB(0xC0, 0xC0, 0xC0),  //  4 menu
    RGB(0xFF, 0xFF, 0xFF),  //  5 window
    RGB(0x00, 0x00, 0x00),  //  6 window frame
    RGB(0x00, 0x00, 0x00),  //  7 menu text
    RGB(0x00, 0x00, 0x00),  //  8 window text
    RGB(0xFF, 0xFF, 0xFF),  //  9 caption text
    RGB(0xC0, 0xC0, 0xC0),  // 10 active border
    RGB(0xC0, 0xC0, 0xC0),  // 11 inactive border
    RGB(0x80, 0x80, 0x80),  // 12 application workspace
    RGB(0x00, 0x00, 0x80),  // 13 highlight
    RGB(0xFF, 0xFF, 0xFF),  // 14 highlight text
    RGB(0xC0, 0xC0, 0xC0),  // 15 button face
    RGB(0x80, 0x80, 0x80),  // 16 button shadow
    RGB(0x80, 0x80, 0x80),  // 17 grey text
    RGB(0x00, 0x00, 0x00),  // 18 button text
    RGB(0xC0, 0xC0, 0xC0),  // 19 inactive caption text
    RGB(0xFF, 0xFF, 0xFF),  // 20 button highlight
    RGB(0x00, 0x00, 0x00),  // 21 3D dark shadow
    RGB(0xC0, 0xC0, 0xC0),  // 22 3D light
    RGB(0x00, 0x00, 0x00),  // 23 tooltip text
    RGB(0xFF, 0xFF, 0xE1),  // 24 tooltip background
    RGB(0xC0, 0xC0, 0xC0),  // 25 (no name; kept as the face colour)
    RGB(0x00, 0x00, 0xFF),  // 26 hot-tracked item
    RGB(0x10, 0x84, 0xD0),  // 27 active caption gradient end
    RGB(0xB5, 0xB5, 0xB5),  // 28 inactive caption gradient end
    RGB(0x00, 0x00, 0x80),  // 29 highlighted menu item
    RGB(0xC0, 0xC0, 0xC0),  // 30 menu bar
};

// The scheme in force; SetSysColors changes it, ResetSysColors restores it.
std::array<COLORREF, SystemColorCount> currentScheme = StandardScheme;

}  // namespace

COLORREF GetSysColor(int index)
{
    if (index < 0 || index >= SystemColorCount)
        return 0;
    return currentScheme[static_cast<std::size_t>(index)];
}

bool SetSysColors(int count, const int* indices, const COLORREF* values)
{
    for (int i = 0; i < count; ++i) {
        if (indices[i] < 0 || indices[i] >= SystemColorCount)
            return false;
        currentScheme[static_cast<std::size_t>(indices[i])] = values[i] & 0x00FFFFFFu;
    }
    return true;
}

void ResetSysColors()
{
    currentScheme = StandardScheme;
}

TColor ColorToRGB(TColor color)
{
    if (color & SystemColorFlag)
        return GetSysColor(static_cast<int>(color & 0xFF));
    if ((color & 0xFF000000u) == PaletteRelativeFlag)
        return color & 0x00FFFFFFu;
    return color;
}

QRgb ColorToQRgb(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QColor ColorToQColor(TColor color)
{
    return QColor(ColorToQRgb(color));
}

TColor QRgbToColor(QRgb rgb)
{
    return RGB(static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
               static_cast<std::uint8_t>(qBlue(rgb)));
}

TColor QColorToColor(const QColor& color)
{
    return QRgbToColor(color.rgb());
}

// ---- Colour names ------------------------------------------------------------

namespace {

struct TColorName {
    TColor Color;
    std::string_view Name;
};

// One name per value; aliases (clLtGray, clDkGray) read but are not written.
constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

constexpr TColorName ColorAliases[] = {
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};


} // namespace

bool ColorToIdent(TColor color, std::string& name)
{
    for (const TColorName& entry : ColorNames)
        if (entry.Color == color) {
            name = std::string(entry.Name);
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& name, TColor& color)
{
    for (const auto* table : {static_cast<const TColorName*>(ColorNames), static_cast<const TColorName*>(ColorAliases)}) {
        const std::size_t count = table == ColorNames ? std::size(ColorNames) : std::size(ColorAliases);
        for (std::size_t i = 0; i < count; ++i)
            if (SameText(table[i].Name, name)) {
                color = table[i].Color;
                return true;
            }
    }
    return false;
}

std::string ColorToString(TColor color)
{
    std::string name;
    if (ColorToIdent(color, name))
        return name;
    char text[16];
    std::snprintf(text, sizeof text, "$%.8x", static_cast<unsigned>(color));
    return text;
}

TColor StringToColor(const std::string& text)
{
    TColor color = 0;
    if (IdentToColor(text, color))
        return color;
    if (!text.empty() && text.front() == '$') {
        const std::string_view digits = std::string_view(text).substr(1);
        std::uint32_t value = 0;
        bool valid = !digits.empty() && digits.size() <= 8;
        for (char c : digits) {
            const int digit = HexDigitValue(c);
            valid = valid && digit >= 0;
            if (valid)
                value = (value << 4) | static_cast<std::uint32_t>(digit);
        }
        if (!valid)
            throw EConvertError("'" + text + "' is not a valid integer value");
        return value;
    }
    // A negative number is the colour of its 32-bit pattern (-1 is $ffffffff).
    return static_cast<TColor>(StrToInt(text));
}
