// How a run of dates-convert shows dates to its reader: in which language it
// names weekdays and months, in which digits it writes numbers, and in which
// direction the text runs. The formatters take one and ask it for every name and
// number they print; the default one gives the converter's own English names and
// Western digits, exactly the texts the tool has always printed.
#pragma once

#include "tools/DateText.h"
#include "tools/Digits.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class Presentation {
public:
    // The converter's own English names, Western digits, left to right.
    Presentation();
    // The converter's own English names with numbers in `digits`.
    explicit Presentation(DigitSet digits);
    // ICU's names for `locale` ("ar", "fa_IR"): the Islamic calendar's months, the
    // Gregorian calendar's months and weekdays, and the order of a date's parts;
    // numbers in `digits`; the locale's direction. Raises Exception when ICU has no
    // data for it.
    Presentation(const std::string& locale, DigitSet digits);

    // The language's code ("ar"), empty for the converter's own names.
    const std::string& Language() const;
    bool Translated() const;
    DigitSet Digits() const { return Digits_; }
    bool RightToLeft() const;
    // The converter's own names in Western digits: every text as before.
    bool Plain() const { return !Translated() && Digits_ == DigitSet::dsLatin; }

    // A number given in ASCII ("1447", "-12.5") in the chosen digits, with the
    // numbering system's decimal separator.
    std::string Number(std::string_view ascii) const;
    std::string Number(std::int64_t value) const;
    // FormatDate's and FormatMonth's texts in the chosen digits.
    std::string Date(const DateParts& date) const;
    std::string Month(std::int32_t year, std::int32_t month) const;

    // Names standing alone: weekday 0 Sunday .. 6 Saturday, month 1..12.
    const std::string& Weekday(std::int32_t weekDay) const;
    const std::string& HijriMonth(std::int32_t month) const;
    const std::string& CivilMonth(std::int32_t month) const;
    // A weekday as a month grid heads its column: "Su", or the language's short form.
    const std::string& ShortWeekday(std::int32_t weekDay) const;

    // "Ramadhan 1447", "1 Ramadhan 1447", "Wednesday, 1 Ramadhan 1447" in the
    // language's order of the parts.
    std::string HijriMonthYear(std::int32_t year, std::int32_t month) const;
    std::string CivilMonthYear(std::int32_t year, std::int32_t month) const;
    std::string HijriDate(const DateParts& date) const;
    std::string CivilDate(const DateParts& date) const;
    std::string HijriDateWithWeekday(std::int32_t weekDay, const DateParts& date) const;
    std::string CivilDateWithWeekday(std::int32_t weekDay, const DateParts& date) const;
    // The window's correspondence line: the weekday and the Hijri date, "  =  ",
    // the civil date.
    std::string Line(std::int32_t weekDay, const DateParts& hijri, const DateParts& civil) const;

    // A name or a phrase set among other text: in a right-to-left language it is
    // wrapped in a right-to-left isolate (U+2067 .. U+2069), so that a terminal or
    // viewer that orders text by the bidirectional algorithm keeps the text around
    // it in place; otherwise as it is.
    std::string Isolated(std::string_view text) const;

private:
    struct Names;
    static std::shared_ptr<const Names> OwnNames();
    static std::shared_ptr<const Names> IcuNames(const std::string& locale);
    std::string Render(std::string_view pattern, std::int32_t weekDay, const DateParts& date,
                       bool hijri) const;

    std::shared_ptr<const Names> Names_;
    DigitSet Digits_ = DigitSet::dsLatin;
    std::string DecimalSeparator_ = ".";
};
