// The converter window's date state: working copies of the date being edited
// and of its conversion, and the tables the window fills once at creation.
// The six number fields stay the authoritative store; every click starts from
// their text and leaves this state matching them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// A table numbered from First, as the calendar numbers it (months from 1,
// weekdays from 0). An index outside the table raises std::out_of_range.
template <typename T, int First, std::size_t Count>
class TNumberedTable {
public:
    T& operator[](int index) { return items_.at(Slot(index)); }
    const T& operator[](int index) const { return items_.at(Slot(index)); }
    static constexpr int Low() { return First; }
    static constexpr int High() { return First + static_cast<int>(Count) - 1; }

private:
    static std::size_t Slot(int index)
    {
        // A negative difference wraps to a huge slot, which at() rejects.
        return static_cast<std::size_t>(static_cast<long long>(index) - First);
    }
    std::array<T, Count> items_{};
};

struct ConverterState {
    TNumberedTable<std::int32_t, 1, 12> GMonthDays; // days of each civil month in a common year
    std::int32_t InYear = 0;                         // the date read from the fields or the clock
    std::int32_t InDay = 0;
    std::int32_t InMonth = 0;
    std::int32_t OutYear = 0;                        // its conversion into the other calendar
    std::int32_t OutMonth = 0;
    std::int32_t OutDay = 0;
    std::int32_t WeekDay = 0;                        // of the last conversion, 0 Sunday .. 6 Saturday
    std::int32_t MonthLength = 0;                    // working value of the day-up step
    TNumberedTable<std::string, 0, 7> DayNames;
    TNumberedTable<std::string, 1, 12> HMonthNames;
    TNumberedTable<std::string, 1, 12> GMonthNames;
    double NowValue = 0;                             // days since 30 December 1899, time as the fraction
    std::uint16_t NowYear = 0;
    std::uint16_t NowMonth = 0;
    std::uint16_t NowDay = 0;
};
