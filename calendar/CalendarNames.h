// The weekday and month names shown with a date, and the correspondence line
// built from them. Plain C++, shared by the converter window and dates-convert.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Weekday names, 0 Sunday .. 6 Saturday.
inline constexpr std::array<std::string_view, 7> DayNameTable{
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// Month names, January (Muharram) first: entry month - 1 names month 1..12.
inline constexpr std::array<std::string_view, 12> GMonthNameTable{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
inline constexpr std::array<std::string_view, 12> HMonthNameTable{
    "Muharram", "Safar",   "Rabi Awal", "Rabi Thani", "Jumad Awal", "Jumad Thani",
    "Rajab",    "Shabaan", "Ramadhan",  "Shawal",     "Thul-Quada", "Thul-Hujja"};

// Look-ups by weekday 0..6 and month 1..12; anything else raises ERangeError.
std::string_view DayName(std::int32_t weekDay);
std::string_view GMonthName(std::int32_t month);
std::string_view HMonthName(std::int32_t month);

// The texts of the six date fields, exactly as they are shown.
struct CorrespondenceFields {
    std::string_view HijriDay;
    std::string_view HijriMonth;  // a month number, shown as its name
    std::string_view HijriYear;
    std::string_view GregorianDay;
    std::string_view GregorianMonth;
    std::string_view GregorianYear;
};

// Where a correspondence line takes its names from: weekday 0..6, Hijri and
// civil month 1..12 to the name shown.
struct CorrespondenceNames {
    std::function<std::string_view(std::int32_t weekDay)> Day;
    std::function<std::string_view(std::int32_t month)> HMonth;
    std::function<std::string_view(std::int32_t month)> GMonth;
};

// "Thursday, 1 Ramadhan 1420  =  9 December 1999": the weekday, the Hijri date,
// two blanks, "=", two blanks, the civil date. Days and years appear as their
// field texts; the month texts are read as decimal numbers and named (a text
// that is no number raises EConvertError). The names come from names, or
// without it from the tables above.
std::string ComposeCorrespondence(const CorrespondenceNames& names, std::int32_t weekDay,
                                  const CorrespondenceFields& fields);
std::string ComposeCorrespondence(std::int32_t weekDay, const CorrespondenceFields& fields);
