#include "calendar/calendars/UmmAlQuraCalendar.h"

#include "calendar/calendars/CivilDays.h"
#include "framework/runtime/sysutils.h"

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/uversion.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace {

constexpr double UnixEpochDayNumber = 2440588;  // 1 January 1970
constexpr double MillisecondsPerDay = 86400000.0;
constexpr std::int64_t FirstTableMonth = MonthIndexOf(FirstUmmAlQuraYear, 1);
constexpr std::int64_t LastTableMonth = MonthIndexOf(LastUmmAlQuraYear, 12);
// The rule meets the table's days within a month or two of its ends; this many
// months without meeting them is a fault.
constexpr std::size_t MaxJoinMonths = 120;

void Check(UErrorCode status, const char* what)
{
    if (U_FAILURE(status))
        throw Exception(std::string("ICU cannot ") + what + ": " + u_errorName(status));
}

} // namespace

UmmAlQuraCalendar::UmmAlQuraCalendar() : Rule_(std::make_unique<UmmAlQuraRuleCalendar>())
{
    UErrorCode status = U_ZERO_ERROR;
    // Universal time, so that a month's first instant is the midnight (UT) of its first day.
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale("@calendar=islamic-umalqura"), status));
    Check(status, "open the Umm al-Qura calendar");
    const auto dayNumber = [&](UDate instant) {
        return static_cast<std::int64_t>(std::floor(instant / MillisecondsPerDay) + UnixEpochDayNumber);
    };
    for (std::int32_t year = FirstUmmAlQuraYear; year <= LastUmmAlQuraYear; ++year)
        for (std::int32_t month = 0; month < 12; ++month) {
            calendar->clear();
            calendar->set(year, month, 1);
            FirstDays_.push_back(dayNumber(calendar->getTime(status)));
            Check(status, "place a month of the Umm al-Qura table");
        }
    // The table's last month ends after the length the table gives it; the month
    // after it is no longer the table's.
    const std::int32_t lastLength = calendar->getActualMaximum(UCAL_DAY_OF_MONTH, status);
    Check(status, "give the length of the table's last month");
    FirstDays_.push_back(FirstDays_.back() + lastLength);
}

bool UmmAlQuraCalendar::InTable(std::int64_t month)
{
    return month >= FirstTableMonth && month <= LastTableMonth;
}

const UmmAlQuraCalendar::Joins& UmmAlQuraCalendar::JoinsToTheRule() const
{
    std::call_once(JoinsMade_, [this] {
        // After the table: the rule's steps from the day its last month ends, up
        // to a month the rule itself opens on the same day (later months follow
        // alike).
        constexpr auto afterTable = static_cast<std::int32_t>(LastTableMonth + 1);
        Joins_.After.push_back(FirstDays_.back());
        for (;;) {
            const auto last = static_cast<std::int32_t>(afterTable + Joins_.After.size() - 1);
            if (Joins_.After.back() == Rule_->Start(last).FirstDay)
                break;
            if (Joins_.After.size() > MaxJoinMonths || last >= Rule_->Months().Last)
                throw Exception("The Umm al-Qura rule does not meet the table's end");
            Joins_.After.push_back(Rule_->StartAfter(last + 1, Joins_.After.back()));
        }
        // Before the table: the rule's days, each moved where that keeps the month
        // 29 or 30 days up to the next one, back to a month needing no move.
        std::int64_t next = FirstDays_.front();
        for (auto k = static_cast<std::int32_t>(FirstTableMonth - 1); k >= Rule_->Months().First; --k) {
            const std::int64_t own = Rule_->Start(k).FirstDay;
            const std::int64_t joined = std::clamp(own, next - 30, next - 29);
            if (joined == own)
                break;
            if (Joins_.Before.size() > MaxJoinMonths)
                throw Exception("The Umm al-Qura rule does not meet the table's start");
            Joins_.Before.push_back(joined);
            next = joined;
        }
    });
    return Joins_;
}

std::int64_t UmmAlQuraCalendar::OutsideStart(std::int32_t month) const
{
    const Joins& joins = JoinsToTheRule();
    if (month > LastTableMonth) {
        const auto at = static_cast<std::size_t>(month - LastTableMonth - 1);
        return at < joins.After.size() ? joins.After[at] : Rule_->Start(month).FirstDay;
    }
    const auto at = static_cast<std::size_t>(FirstTableMonth - 1 - month);
    return at < joins.Before.size() ? joins.Before[at] : Rule_->Start(month).FirstDay;
}

MonthStart UmmAlQuraCalendar::Start(std::int32_t month) const
{
    if (InTable(month))
        return {FirstDays_[static_cast<std::size_t>(month - FirstTableMonth)], MonthSource::msTable};
    return {OutsideStart(month), MonthSource::msRule};
}

MonthReason UmmAlQuraCalendar::Reason(std::int32_t month) const
{
    MonthReason reason;
    if (InTable(month)) {
        reason.Source = MonthSource::msTable;
        reason.Text = "the Umm al-Qura table (ICU " U_ICU_VERSION " islamic-umalqura)";
        reason.Facts = {{"table", std::string("ICU " U_ICU_VERSION " islamic-umalqura")}};
        return reason;
    }
    const std::string outside = "computed outside the table's years " + IntToStr(FirstUmmAlQuraYear) +
                                " to " + IntToStr(LastUmmAlQuraYear) + " by the rule in force since 1423 AH";
    const std::int64_t day = OutsideStart(month);
    if (month == LastTableMonth + 1) {
        reason.Text = outside + ": the table's last month ends on " + DayText(day - 1);
        reason.Facts = {{"table_end", DayText(day)}};
    } else if (month > LastTableMonth || day == Rule_->Start(month).FirstDay) {
        reason = Rule_->ReasonAfter(month, OutsideStart(month - 1));
        reason.Text = outside + "; " + reason.Text;
    } else {
        const std::int64_t own = Rule_->Start(month).FirstDay;
        const std::int64_t next = Start(month + 1).FirstDay;
        reason.Text = outside + ", which opens it on " + DayText(own) + "; moved to " + DayText(day) +
                      " so that it keeps " + IntToStr(next - day) + " days up to the next month";
        reason.Facts = {{"rule_first_day", DayText(own)}};
    }
    reason.Source = MonthSource::msRule;
    return reason;
}
