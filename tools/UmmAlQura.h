// The first day of a Hijri month by the Umm al-Qura table, through ICU's
// islamic-umalqura calendar.
#pragma once

#include <cstdint>
#include <optional>

inline constexpr std::int32_t FirstUmmAlQuraYear = 1300;
inline constexpr std::int32_t LastUmmAlQuraYear = 1600;

// The Julian day of the midnight (UT) that starts the month, for the years the
// table covers; nothing for other years.
std::optional<double> UmmAlQuraMonthStart(std::int32_t year, std::int32_t month);
