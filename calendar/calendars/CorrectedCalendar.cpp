#include "calendar/calendars/CorrectedCalendar.h"

#include "calendar/calendars/CivilDays.h"
#include "framework/runtime/sysutils.h"

#include <algorithm>

CorrectedCalendar::CorrectedCalendar(std::unique_ptr<HijriCalendar> base,
                                     std::vector<MonthCorrection> months, std::string file)
    : Base_(std::move(base)), Months_(std::move(months)), File_(std::move(file))
{
    std::sort(Months_.begin(), Months_.end(),
              [](const MonthCorrection& a, const MonthCorrection& b) { return a.Month < b.Month; });
}

const MonthCorrection* CorrectedCalendar::Find(std::int32_t month) const
{
    const auto found = std::lower_bound(
        Months_.begin(), Months_.end(), month,
        [](const MonthCorrection& correction, std::int32_t m) { return correction.Month < m; });
    return found != Months_.end() && found->Month == month ? &*found : nullptr;
}

MonthStart CorrectedCalendar::Start(std::int32_t month) const
{
    if (const MonthCorrection* correction = Find(month))
        return {correction->FirstDay, MonthSource::msCorrection};
    return Base_->Start(month);
}

MonthReason CorrectedCalendar::Reason(std::int32_t month) const
{
    const MonthCorrection* correction = Find(month);
    if (correction == nullptr)
        return Base_->Reason(month);
    const MonthStart own = Base_->Start(month);
    const CivilDate ownDay = CivilDateOf(own.FirstDay);
    const std::string ownText = IsoDateText(ownDay.Year, ownDay.Month, ownDay.Day);
    MonthReason reason;
    reason.Source = MonthSource::msCorrection;
    reason.Text = "announced: line " + IntToStr(correction->Line) + " of " + File_ + " (the " +
                  std::string(SourceName(own.Source)) + " gives " + ownText + ")";
    reason.Facts = {{"corrections_file", File_},
                    {"line", std::int64_t{correction->Line}},
                    {"uncorrected_first_day", ownText}};
    return reason;
}
