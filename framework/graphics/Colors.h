// Colour values as the painting code writes them: RGB with red in the low byte,
// or a system colour (0x80000000 | index) resolved through the one system
// colour table, the classic standard scheme.
#pragma once

#include <QColor>
#include <QRgb>

#include <cstdint>
#include <string>

using TColor = std::uint32_t;
using COLORREF = std::uint32_t;

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return TColor{r} | (TColor{g} << 8) | (TColor{b} << 16);
}
constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// A palette-relative colour: the RGB value with 0x02000000 set. On our
// true-colour surfaces it means exactly its RGB value.
constexpr TColor PALETTERGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return 0x02000000u | RGB(r, g, b); }
constexpr TColor PaletteRelativeFlag = 0x02000000u;
constexpr TColor SystemColorFlag = 0x80000000u;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

// The sixteen named colours.
constexpr TColor clBlack = RGB(0x00, 0x00, 0x00);
constexpr TColor clMaroon = RGB(0x80, 0x00, 0x00);
constexpr TColor clGreen = RGB(0x00, 0x80, 0x00);
constexpr TColor clOlive = RGB(0x80, 0x80, 0x00);
constexpr TColor clNavy = RGB(0x00, 0x00, 0x80);
constexpr TColor clPurple = RGB(0x80, 0x00, 0x80);
constexpr TColor clTeal = RGB(0x00, 0x80, 0x80);
constexpr TColor clGray = RGB(0x80, 0x80, 0x80);
constexpr TColor clSilver = RGB(0xC0, 0xC0, 0xC0);
constexpr TColor clRed = RGB(0xFF, 0x00, 0x00);
constexpr TColor clLime = RGB(0x00, 0xFF, 0x00);
constexpr TColor clYellow = RGB(0xFF, 0xFF, 0x00);
constexpr TColor clBlue = RGB(0x00, 0x00, 0xFF);
constexpr TColor clFuchsia = RGB(0xFF, 0x00, 0xFF);
constexpr TColor clAqua = RGB(0x00, 0xFF, 0xFF);
constexpr TColor clWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clNone = 0x1FFFFFFFu;
constexpr TColor clDefault = 0x20000000u;

// System colour indices.
enum : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_DESKTOP = COLOR_BACKGROUND,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_3DFACE = COLOR_BTNFACE,
    COLOR_BTNSHADOW = 16,
    COLOR_3DSHADOW = COLOR_BTNSHADOW,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
    SystemColorCount = 31
};

constexpr TColor clScrollBar = SystemColorFlag | COLOR_SCROLLBAR;
constexpr TColor clBackground = SystemColorFlag | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = SystemColorFlag | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = SystemColorFlag | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = SystemColorFlag | COLOR_MENU;
constexpr TColor clWindow = SystemColorFlag | COLOR_WINDOW;
constexpr TColor clWindowFrame = SystemColorFlag | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = SystemColorFlag | COLOR_MENUTEXT;
constexpr TColor clWindowText = SystemColorFlag | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = SystemColorFlag | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = SystemColorFlag | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = SystemColorFlag | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = SystemColorFlag | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = SystemColorFlag | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = SystemColorFlag | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = SystemColorFlag | COLOR_BTNFACE;
constexpr TColor clBtnShadow = SystemColorFlag | COLOR_BTNSHADOW;
constexpr TColor clGrayText = SystemColorFlag | COLOR_GRAYTEXT;
constexpr TColor clBtnText = SystemColorFlag | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = SystemColorFlag | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = SystemColorFlag | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = SystemColorFlag | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = SystemColorFlag | COLOR_3DLIGHT;
constexpr TColor clInfoText = SystemColorFlag | COLOR_INFOTEXT;
constexpr TColor clInfoBk = SystemColorFlag | COLOR_INFOBK;
constexpr TColor clHotLight = SystemColorFlag | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = SystemColorFlag | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = SystemColorFlag | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = SystemColorFlag | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = SystemColorFlag | COLOR_MENUBAR;

// The RGB value of a system colour; 0 for an index outside the table.
COLORREF GetSysColor(int index);

// Changes scheme colours (index/value pairs); returns false when an index is
// outside the table (the valid pairs before it are applied).
bool SetSysColors(int count, const int* indices, const COLORREF* values);

// Restores the classic standard scheme (tests that change a colour call this).
void ResetSysColors();

// Plain RGB for any colour value: system colours through the scheme, the
// palette-relative flag dropped. Other values (clNone, clDefault) pass unchanged.
TColor ColorToRGB(TColor color);

// Conversions to and from Qt. A system colour resolves through the scheme.
QRgb ColorToQRgb(TColor color);
QColor ColorToQColor(TColor color);
TColor QRgbToColor(QRgb rgb);
TColor QColorToColor(const QColor& color);

// Colour names, as settings store them. ColorToString gives the colour's
// name ("clBtnFace", "clRed") when it has one, else "$" and eight hex digits
// ("$00123456"). StringToColor takes a name (in any case), "$" with one to
// eight hex digits, or a decimal integer; anything else raises EConvertError
// "'<text>' is not a valid integer value".
std::string ColorToString(TColor color);
TColor StringToColor(const std::string& text);
// The name alone: false when the colour has none / the text names none.
bool ColorToIdent(TColor color, std::string& name);
bool IdentToColor(const std::string& name, TColor& color);
