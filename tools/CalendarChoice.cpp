#include "tools/CalendarChoice.h"

#include "tools/DateText.h"

CalendarChoice::CalendarChoice(std::string_view name, const std::string& correctionsFile,
                               const CalendarOptions& options)
    : Named_(!name.empty()), Options_(options)
{
    const CalendarEntry* entry = FindCalendar(Named_ ? name : DefaultCalendarName);
    if (entry == nullptr)
        throw EUsageError("Unknown calendar '" + std::string(name) + "' (try --calendar list)");
    try {
        const bool given = !correctionsFile.empty();
        const std::string file = given ? correctionsFile : DefaultCorrectionsFile();
        if (!file.empty())
            Corrections_ = ReadCorrectionsFile(file, given, Options_);
    } catch (const ECorrectionsError& e) {
        throw EUsageError(e.Message());
    }
    Chosen_ = &Make(*entry);
}

CalendarChoice::Made& CalendarChoice::Make(const CalendarEntry& entry)
{
    for (const auto& made : Made_)
        if (made->Calendar->Name() == entry.Name)
            return *made;
    auto made = std::make_unique<Made>();
    made->Calendar = MakeCorrectedCalendar(entry, Corrections_, Options_);
    made->Converter = std::make_unique<CalendarConverter>(*made->Calendar);
    Made_.push_back(std::move(made));
    return *Made_.back();
}

std::vector<CalendarConverter*> CalendarChoice::Every()
{
    std::vector<CalendarConverter*> every;
    for (const CalendarEntry& entry : RegisteredCalendars())
        every.push_back(Make(entry).Converter.get());
    return every;
}
