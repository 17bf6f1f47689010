// How dates-convert prints its reports: "key: value" lines for people, or one
// JSON object with stable keys for scripts.
#pragma once

#include "tools/ConvertCommands.h"

#include <string>
#include <vector>

enum class OutputForm { ofText, ofJson };

std::string FormatDayReport(const DayReport& report, OutputForm form);
std::string FormatMonthReport(const MonthReport& report, OutputForm form);
// A Hijri year, one aligned row per month, or an object whose `months` array holds
// the objects of FormatMonthReport.
std::string FormatYearReport(std::int32_t year, const std::vector<MonthReport>& months,
                             OutputForm form);

// An instant (Julian day, UT) to the minute in ISO 8601 form, shifted by
// `hoursAhead` from UT: "1984-09-25T03:10Z", or "…T06:10+03:00" three hours ahead.
std::string FormatInstant(double julianDay, int hoursAhead = 0);
