#include "tools/Presentation.h"

#include "calendar/CalendarNames.h"
#include "framework/runtime/sysutils.h"

#include <unicode/dcfmtsym.h>
#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdio>

using Weekdays = std::array<std::string, 7>;
using Months = std::array<std::string, 12>;

// Everything a language lends the output; shared by the copies of a presentation.
struct Presentation::Names {
    std::string Language;  // empty: the converter's own
    bool RightToLeft = false;
    Weekdays StandaloneWeekdays, FormatWeekdays, ShortWeekdays;
    Months StandaloneHijriMonths, FormatHijriMonths;
    Months StandaloneCivilMonths, FormatCivilMonths;
    // Date patterns in ICU's syntax ("d MMMM y"): a date, a date with its weekday,
    // a month of a year.
    std::string DatePattern, WeekdayDatePattern, MonthYearPattern;
};

namespace {

constexpr std::string_view RightToLeftIsolate = "\u2067";
constexpr std::string_view PopDirectionalIsolate = "\u2069";

void CheckIcu(UErrorCode status, const std::string& what)
{
    if (U_FAILURE(status))
        throw Exception("ICU cannot " + what + ": " + u_errorName(status));
}

std::string Utf8(const icu::UnicodeString& text)
{
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

// `Count` names of an ICU list from list[first] on.
template <std::size_t Count>
std::array<std::string, Count> Take(const icu::UnicodeString* list, std::int32_t listSize,
                                    std::int32_t first, const std::string& what)
{
    if (list == nullptr || listSize < first + static_cast<std::int32_t>(Count))
        throw Exception("ICU has no " + what);
    std::array<std::string, Count> names;
    for (std::size_t i = 0; i < Count; ++i)
        names[i] = Utf8(list[first + static_cast<std::int32_t>(i)]);
    return names;
}

// ICU lists weekdays from index 1, Sunday.
Weekdays WeekdaysOf(const icu::DateFormatSymbols& symbols,
                    icu::DateFormatSymbols::DtContextType context,
                    icu::DateFormatSymbols::DtWidthType width, const std::string& locale)
{
    std::int32_t count = 0;
    const icu::UnicodeString* list = symbols.getWeekdays(count, context, width);
    return Take<7>(list, count, 1, "weekday names for " + locale);
}

Months MonthsOf(const icu::DateFormatSymbols& symbols, icu::DateFormatSymbols::DtContextType context,
                const std::string& what)
{
    std::int32_t count = 0;
    const icu::UnicodeString* list = symbols.getMonths(count, context, icu::DateFormatSymbols::WIDE);
    return Take<12>(list, count, 0, what);
}

template <std::size_t Size>
std::array<std::string, Size> Copied(const std::array<std::string_view, Size>& table)
{
    std::array<std::string, Size> names;
    std::copy(table.begin(), table.end(), names.begin());
    return names;
}

std::string TwoDigits(std::int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// The separator between a number's whole part and its fraction where `locale`
// writes numbers in `digits`.
std::string DecimalSeparatorOf(const std::string& locale, DigitSet digits)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale numbers(locale.empty() ? "en" : locale.c_str());
    numbers.setKeywordValue("numbers", std::string(NameOf(digits)).c_str(), status);
    CheckIcu(status, "name a numbering system");
    const icu::DecimalFormatSymbols symbols(numbers, status);
    CheckIcu(status, "give the number symbols of " + locale);
    return Utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
}

} // namespace

std::shared_ptr<const Presentation::Names> Presentation::OwnNames()
{
    auto names = std::make_shared<Names>();
    names->StandaloneWeekdays = names->FormatWeekdays = Copied(DayNameTable);
    for (std::size_t i = 0; i < names->ShortWeekdays.size(); ++i)
        names->ShortWeekdays[i] = std::string(DayNameTable[i].substr(0, 2));
    names->StandaloneHijriMonths = names->FormatHijriMonths = Copied(HMonthNameTable);
    names->StandaloneCivilMonths = names->FormatCivilMonths = Copied(GMonthNameTable);
    // The order of the window's correspondence line.
    names->DatePattern = "d MMMM y";
    names->WeekdayDatePattern = "EEEE, d MMMM y";
    names->MonthYearPattern = "MMMM y";
    return names;
}

std::shared_ptr<const Presentation::Names> Presentation::IcuNames(const std::string& locale)
{
    using Symbols = icu::DateFormatSymbols;
    const icu::Locale base(locale.c_str());
    if (base.isBogus())
        throw Exception("ICU cannot read the locale '" + locale + "'");
    auto names = std::make_shared<Names>();
    names->Language = base.getLanguage();
    names->RightToLeft = base.isRightToLeft();

    UErrorCode status = U_ZERO_ERROR;
    // The month names of ICU's islamic calendar; its civil, tbla and umalqura
    // variants name the months alike.
    const Symbols islamic(base, "islamic", status);
    CheckIcu(status, "give the Islamic calendar's names for " + locale);
    names->StandaloneHijriMonths = MonthsOf(islamic, Symbols::STANDALONE, "Hijri month names");
    names->FormatHijriMonths = MonthsOf(islamic, Symbols::FORMAT, "Hijri month names");

    const Symbols gregorian(base, "gregorian", status);
    CheckIcu(status, "give the Gregorian calendar's names for " + locale);
    names->StandaloneCivilMonths = MonthsOf(gregorian, Symbols::STANDALONE, "civil month names");
    names->FormatCivilMonths = MonthsOf(gregorian, Symbols::FORMAT, "civil month names");
    names->StandaloneWeekdays = WeekdaysOf(gregorian, Symbols::STANDALONE, Symbols::WIDE, locale);
    names->FormatWeekdays = WeekdaysOf(gregorian, Symbols::FORMAT, Symbols::WIDE, locale);
    names->ShortWeekdays = WeekdaysOf(gregorian, Symbols::STANDALONE, Symbols::SHORT, locale);

    // The order of a date's parts, from the Gregorian calendar's patterns for both
    // calendars: the Islamic ones add an era, which the engine's years (negative
    // before the Hijra) do not fit.
    icu::Locale patterns(base);
    patterns.setKeywordValue("calendar", "gregorian", status);
    const std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(patterns, status));
    CheckIcu(status, "give the date patterns of " + locale);
    const auto best = [&](const char* skeleton) {
        const std::string pattern = Utf8(generator->getBestPattern(icu::UnicodeString(skeleton), status));
        CheckIcu(status, std::string("give the pattern ") + skeleton + " of " + locale);
        return pattern;
    };
    names->DatePattern = best("dMMMMy");
    names->WeekdayDatePattern = best("EEEEdMMMMy");
    names->MonthYearPattern = best("MMMMy");
    return names;
}

Presentation::Presentation() : Names_(OwnNames()) {}

Presentation::Presentation(DigitSet digits)
    : Names_(OwnNames()), Digits_(digits),
      DecimalSeparator_(digits == DigitSet::dsLatin ? "." : DecimalSeparatorOf("", digits))
{
}

Presentation::Presentation(const std::string& locale, DigitSet digits)
    : Names_(locale.empty() ? OwnNames() : IcuNames(locale)), Digits_(digits),
      DecimalSeparator_(locale.empty() && digits == DigitSet::dsLatin ? "."
                                                                     : DecimalSeparatorOf(locale, digits))
{
}

const std::string& Presentation::Language() const
{
    return Names_->Language;
}

bool Presentation::Translated() const
{
    return !Names_->Language.empty();
}

bool Presentation::RightToLeft() const
{
    return Names_->RightToLeft;
}

std::string Presentation::Number(std::string_view ascii) const
{
    if (Digits_ == DigitSet::dsLatin && DecimalSeparator_ == ".")
        return std::string(ascii);
    std::string text;
    for (const char c : ascii) {
        if (c == '.')
            text += DecimalSeparator_;
        else
            text += c;
    }
    return InDigits(text, Digits_);
}

std::string Presentation::Number(std::int64_t value) const
{
    return Number(std::to_string(value));
}

std::string Presentation::Date(const DateParts& date) const
{
    return InDigits(FormatDate(date), Digits_);
}

std::string Presentation::Month(std::int32_t year, std::int32_t month) const
{
    return InDigits(FormatMonth(year, month), Digits_);
}

namespace {

template <std::size_t Size>
const std::string& NameIn(const std::array<std::string, Size>& names, std::int32_t index,
                          std::int32_t first, const char* what)
{
    if (index < first || index - first >= static_cast<std::int32_t>(Size))
        throw ERangeError(std::string("There is no ") + what + " " + IntToStr(index));
    return names[static_cast<std::size_t>(index - first)];
}

} // namespace

const std::string& Presentation::Weekday(std::int32_t weekDay) const
{
    return NameIn(Names_->StandaloneWeekdays, weekDay, 0, "weekday");
}

const std::string& Presentation::HijriMonth(std::int32_t month) const
{
    return NameIn(Names_->StandaloneHijriMonths, month, 1, "Hijri month");
}

const std::string& Presentation::CivilMonth(std::int32_t month) const
{
    return NameIn(Names_->StandaloneCivilMonths, month, 1, "Gregorian month");
}

const std::string& Presentation::ShortWeekday(std::int32_t weekDay) const
{
    return NameIn(Names_->ShortWeekdays, weekDay, 0, "weekday");
}

// Walks an ICU date pattern: letters are fields, text in single quotes is taken
// as it is ('' is a quote), anything else is literal. Fields the tool has no
// value for (an era, an hour) are left out.
std::string Presentation::Render(std::string_view pattern, std::int32_t weekDay,
                                 const DateParts& date, bool hijri) const
{
    const Names& names = *Names_;
    std::string text;
    for (std::size_t at = 0; at < pattern.size();) {
        const char c = pattern[at];
        if (c == '\'') {
            if (at + 1 < pattern.size() && pattern[at + 1] == '\'') {
                text += '\'';
                at += 2;
                continue;
            }
            for (++at; at < pattern.size(); ++at) {
                if (pattern[at] != '\'')
                    text += pattern[at];
                else if (at + 1 < pattern.size() && pattern[at + 1] == '\'')
                    text += pattern[++at];
                else
                    break;
            }
            ++at;
            continue;
        }
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter) {
            text += c;
            ++at;
            continue;
        }
        std::size_t count = 1;
        while (at + count < pattern.size() && pattern[at + count] == c)
            ++count;
        at += count;
        switch (c) {
        case 'E':
            text += NameIn(names.FormatWeekdays, weekDay, 0, "weekday");
            break;
        case 'c':
            text += NameIn(names.StandaloneWeekdays, weekDay, 0, "weekday");
            break;
        case 'd':
            text += Number(count >= 2 ? TwoDigits(date.Day) : IntToStr(date.Day));
            break;
        case 'M':
        case 'L':
            if (count >= 3) {
                const bool standalone = c == 'L';
                const Months& months = hijri ? (standalone ? names.StandaloneHijriMonths
                                                           : names.FormatHijriMonths)
                                             : (standalone ? names.StandaloneCivilMonths
                                                           : names.FormatCivilMonths);
                text += NameIn(months, date.Month, 1, hijri ? "Hijri month" : "Gregorian month");
            } else {
                text += Number(count == 2 ? TwoDigits(date.Month) : IntToStr(date.Month));
            }
            break;
        case 'y':
            text += Number(IntToStr(date.Year));
            break;
        default:
            break;
        }
    }
    // A field left out may leave a blank at either end.
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Presentation::HijriMonthYear(std::int32_t year, std::int32_t month) const
{
    return Render(Names_->MonthYearPattern, 0, {year, month, 1}, true);
}

std::string Presentation::CivilMonthYear(std::int32_t year, std::int32_t month) const
{
    return Render(Names_->MonthYearPattern, 0, {year, month, 1}, false);
}

std::string Presentation::HijriDate(const DateParts& date) const
{
    return Render(Names_->DatePattern, 0, date, true);
}

std::string Presentation::CivilDate(const DateParts& date) const
{
    return Render(Names_->DatePattern, 0, date, false);
}

std::string Presentation::HijriDateWithWeekday(std::int32_t weekDay, const DateParts& date) const
{
    return Render(Names_->WeekdayDatePattern, weekDay, date, true);
}

std::string Presentation::CivilDateWithWeekday(std::int32_t weekDay, const DateParts& date) const
{
    return Render(Names_->WeekdayDatePattern, weekDay, date, false);
}

std::string Presentation::Line(std::int32_t weekDay, const DateParts& hijri,
                               const DateParts& civil) const
{
    return HijriDateWithWeekday(weekDay, hijri) + "  =  " + CivilDate(civil);
}

std::string Presentation::Isolated(std::string_view text) const
{
    if (!RightToLeft())
        return std::string(text);
    std::string isolated(RightToLeftIsolate);
    isolated += text;
    isolated += PopDirectionalIsolate;
    return isolated;
}
