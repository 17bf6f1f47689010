// ICU's Islamic calendars as an independent reckoning to compare with: the civil
// date of a Hijri date and back, by day numbers, in universal time.
#pragma once

#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

class IcuIslamicCalendar {
public:
    // "islamic-civil", "islamic-tbla", "islamic-umalqura".
    explicit IcuIslamicCalendar(const std::string& type)
    {
        UErrorCode status = U_ZERO_ERROR;
        Calendar_.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(),
                                                      icu::Locale(("@calendar=" + type).c_str()),
                                                      status));
        EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    }

    // Day number of day 1 of a Hijri month (year >= 1).
    std::int64_t FirstDay(std::int32_t year, std::int32_t month)
    {
        UErrorCode status = U_ZERO_ERROR;
        Calendar_->clear();
        Calendar_->set(year, month - 1, 1);
        const UDate instant = Calendar_->getTime(status);
        EXPECT_TRUE(U_SUCCESS(status));
        return DayNumberOf(instant);
    }

    std::int32_t MonthLength(std::int32_t year, std::int32_t month)
    {
        UErrorCode status = U_ZERO_ERROR;
        Calendar_->clear();
        Calendar_->set(year, month - 1, 1);
        const std::int32_t length = Calendar_->getActualMaximum(UCAL_DAY_OF_MONTH, status);
        EXPECT_TRUE(U_SUCCESS(status));
        return length;
    }

    struct Date {
        std::int32_t Year, Month, Day;
    };
    Date DateOf(std::int64_t dayNumber)
    {
        UErrorCode status = U_ZERO_ERROR;
        Calendar_->setTime((static_cast<double>(dayNumber) - UnixEpochDay) * MillisecondsPerDay, status);
        const Date date{Calendar_->get(UCAL_EXTENDED_YEAR, status),
                        Calendar_->get(UCAL_MONTH, status) + 1, Calendar_->get(UCAL_DATE, status)};
        EXPECT_TRUE(U_SUCCESS(status));
        return date;
    }

private:
    static constexpr double UnixEpochDay = 2440588;  // 1 January 1970
    static constexpr double MillisecondsPerDay = 86400000.0;

    static std::int64_t DayNumberOf(UDate instant)
    {
        return static_cast<std::int64_t>(std::floor(instant / MillisecondsPerDay) + UnixEpochDay);
    }

    std::unique_ptr<icu::Calendar> Calendar_;
};
