// How one click of a spin button steps the date being edited (InDay, InMonth,
// InYear of the state). Day steps carry into the month and year with the
// civil month lengths; month steps wrap at the year's ends; year steps go
// through 0 into negative years. Month and year steps keep the day as it is,
// even past the end of the new month: the engine counts such a day on into
// the next month.
#pragma once

#include "window/ConverterState.h"

// The leap-year rule of the day steps: every fourth year before 1582, the
// Gregorian century rule from 1582 on (1500 is a leap year, 1900 is not, 2000
// is). Before year 1 the years counted are the engine's, which has no year
// zero: -1, -5, -9, ... are leap years, and a field at 0 is read as -1.
bool IsDayStepLeapYear(std::int32_t year);

// The step rules. A value that would leave the 32-bit range raises ERangeError.
void StepDayUp(ConverterState& state);
void StepDayDown(ConverterState& state);
void StepMonthUp(ConverterState& state);
void StepMonthDown(ConverterState& state);
void StepYearUp(ConverterState& state);
void StepYearDown(ConverterState& state);
