// The calendars one run of dates-convert works with: the one --calendar names
// (the converter's own rule without it) and, for comparisons, every registered
// one, each with the user's corrections applied. `sighting` is reckoned at the
// place and by the criterion the options give (Mecca and Odeh's by default).
#pragma once

#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/Corrections.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CalendarChoice {
public:
    // `name` as given to --calendar, empty when it was not. Reads the corrections
    // file: `correctionsFile`, else the one in the user's configuration folder
    // when there is one. EUsageError for an unknown calendar or a refused file.
    CalendarChoice(std::string_view name, const std::string& correctionsFile,
                   const CalendarOptions& options = {});

    // Whether --calendar named the calendar (the default gives the classic reports).
    bool Named() const { return Named_; }
    std::string_view Name() const { return Chosen_->Calendar->Name(); }

    CalendarConverter& Chosen() { return *Chosen_->Converter; }
    // Every registered calendar in the registry's order, the chosen one among them.
    std::vector<CalendarConverter*> Every();

private:
    struct Made {
        std::unique_ptr<HijriCalendar> Calendar;
        std::unique_ptr<CalendarConverter> Converter;
    };
    Made& Make(const CalendarEntry& entry);

    bool Named_;
    CalendarOptions Options_;
    Corrections Corrections_;
    std::vector<std::unique_ptr<Made>> Made_;
    Made* Chosen_ = nullptr;
};
