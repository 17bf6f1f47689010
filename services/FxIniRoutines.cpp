#include "services/FxIniRoutines.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
#include "framework/runtime/sysutils.h"

namespace {

constexpr char FontSeparator = ',';
constexpr std::size_t FontFieldCount = 7;
constexpr int FontSizeWhenNotANumber = 10;

int IntegerOr(const std::string& text, int fallback)
{
    try {
        return StrToInt(text);
    } catch (const EConvertError&) {
        return fallback;
    }
}

} // namespace

void SplitValue(const std::string& text, char separator, std::vector<std::string>& list)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == separator) {
            list.push_back(text.substr(start, i - start));
            start = i + 1;
        } else if (i + 1 == text.size()) {
            list.push_back(text.substr(start));
        }
    }
}

std::string JoinIntegers(const std::vector<int>& values, char separator)
{
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += separator;
        text += IntToStr(values[i]);
    }
    return text;
}

std::string FontToString(const TFont& font)
{
    const TFontStyles style = font.Style();
    auto flag = [&](TFontStyle s) { return style.Contains(s) ? "1" : "0"; };
    std::string text = font.Name();
    for (const std::string& field : {IntToStr(font.Size()), ColorToString(font.Color()), std::string(flag(fsBold)),
                                     std::string(flag(fsItalic)), std::string(flag(fsUnderline)),
                                     std::string(flag(fsStrikeOut))}) {
        text += FontSeparator;
        text += field;
    }
    return text;
}

void StringToFont(const std::string& text, TFont& font)
{
    std::vector<std::string> fields;
    SplitValue(text, FontSeparator, fields);
    if (fields.size() != FontFieldCount)
        return;
    // The colour first: a bad one raises before anything has changed.
    const TColor color = StringToColor(fields[2]);
    font.SetName(fields[0]);
    font.SetSize(IntegerOr(fields[1], FontSizeWhenNotANumber));
    font.SetColor(color);
    TFontStyles style;
    const TFontStyle styles[] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
    for (std::size_t i = 0; i < 4; ++i)
        if ((IntegerOr(fields[3 + i], 0) & 0xFF) != 0)
            style.Include(styles[i]);
    font.SetStyle(style);
}

void CenterOnScreen(TCustomForm& form)
{
    form.SetBounds((Screen->Width() - form.Width()) / 2, (Screen->Height() - form.Height()) / 2, form.Width(),
                   form.Height());
}
