// A calendar with some of its months opened on the days an authority announced,
// as the user entered them; every other month as the calendar has it.
#pragma once

#include "calendar/calendars/HijriCalendar.h"

#include <memory>
#include <string>
#include <vector>

struct MonthCorrection {
    std::int32_t Month = 0;     // month index
    std::int64_t FirstDay = 0;  // day number
    std::int32_t Line = 0;      // of the corrections file
};

class CorrectedCalendar final : public HijriCalendar {
public:
    // `months` may come in any order, each month at most once, all within the
    // base's Months(). `file` names where they were read, for the reasons.
    CorrectedCalendar(std::unique_ptr<HijriCalendar> base, std::vector<MonthCorrection> months,
                      std::string file);

    std::string_view Name() const override { return Base_->Name(); }
    MonthSpan Months() const override { return Base_->Months(); }
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;

    const HijriCalendar& Base() const { return *Base_; }
    const std::vector<MonthCorrection>& Corrections() const { return Months_; }

private:
    const MonthCorrection* Find(std::int32_t month) const;

    std::unique_ptr<HijriCalendar> Base_;
    std::vector<MonthCorrection> Months_;  // by month
    std::string File_;
};
