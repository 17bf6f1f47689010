// Today's date as the runtime's clock gives it: a day count from 30 December
// 1899 with the time of day as the fraction, and its decoding into a civil
// (proleptic Gregorian) year, month and day.
#pragma once

#include <cstdint>

// The local date and time now.
double NowDayCount();

// The calendar date of a day count (the fraction is ignored).
void DecodeDayCount(double dayCount, std::uint16_t& year, std::uint16_t& month, std::uint16_t& day);

// The day count of a calendar date at midnight.
double EncodeDayCount(int year, int month, int day);
