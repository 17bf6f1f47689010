#include "calendar/calendars/Corrections.h"

#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/CorrectedCalendar.h"
#include "calendar/CalendarNames.h"
#include "framework/runtime/ConfigFolders.h"
#include "framework/runtime/ScopeExit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>

namespace {

constexpr std::string_view Blanks = " \t\r";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "[-]Y..Y-MM" or "[-]Y..Y-MM-DD": one to nine year digits, two-digit fields.
bool ParseNumbers(std::string_view text, int fields, std::int32_t (&numbers)[3])
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    std::size_t at = 0;
    for (int field = 0; field < fields; ++field) {
        std::size_t digits = 0;
        while (at + digits < text.size() && IsDigit(text[at + digits]))
            ++digits;
        if (digits == 0 || (field == 0 ? digits > 9 : digits != 2))
            return false;
        std::int32_t value = 0;
        for (std::size_t i = 0; i < digits; ++i)
            value = value * 10 + (text[at + i] - '0');
        numbers[field] = value;
        at += digits;
        if (field + 1 < fields) {
            if (at >= text.size() || text[at] != '-')
                return false;
            ++at;
        }
    }
    if (at != text.size())
        return false;
    if (negative)
        numbers[0] = -numbers[0];
    return true;
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t begin = line.find_first_not_of(Blanks);
        if (begin == std::string_view::npos)
            return fields;
        line.remove_prefix(begin);
        const std::size_t end = std::min(line.find_first_of(Blanks), line.size());
        fields.push_back(line.substr(0, end));
        line.remove_prefix(end);
    }
}

std::string Printable(std::string_view text)
{
    std::string shown;
    for (const char c : text.substr(0, 40))
        shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    return shown + (text.size() > 40 ? "..." : "");
}

class Checker {
public:
    Checker(const std::string& file, const CalendarOptions& options) : File_(file), Options_(options) {}

    [[noreturn]] void Refuse(std::int32_t line, const std::string& reason) const
    {
        throw ECorrectionsError(File_ + ":" + IntToStr(line) + ": " + reason);
    }

    CorrectionLine Line(std::string_view text, std::int32_t number)
    {
        const std::vector<std::string_view> fields = Fields(text);
        if (fields.size() != 3)
            Refuse(number, "expected CALENDAR YYYY-MM YYYY-MM-DD, as in 'umalqura 1447-09 2026-02-19'");
        CorrectionLine line;
        line.Line = number;
        line.Calendar = std::string(fields[0]);
        if (FindCalendar(fields[0]) == nullptr)
            Refuse(number, "unknown calendar '" + Printable(fields[0]) + "' (try --calendar list)");
        std::int32_t month[3] = {}, civil[3] = {};
        if (!ParseNumbers(fields[1], 2, month))
            Refuse(number, "'" + Printable(fields[1]) + "' is not a Hijri month of the form YYYY-MM");
        if (month[0] == 0)
            Refuse(number, "there is no Hijri year 0: the year before 1 is -1");
        if (month[1] < 1 || month[1] > 12)
            Refuse(number, "there is no Hijri month " + IntToStr(month[1]));
        if (!ParseNumbers(fields[2], 3, civil))
            Refuse(number, "'" + Printable(fields[2]) + "' is not a civil date of the form YYYY-MM-DD");
        if (!CivilDateExists(civil[0], civil[1], civil[2]))
            Refuse(number, "there is no civil date " + std::string(fields[2]));
        line.Year = month[0];
        line.Month = month[1];
        line.CivilYear = civil[0];
        line.CivilMonth = civil[1];
        line.CivilDay = civil[2];
        const HijriCalendar& calendar = Base(line.Calendar);
        const std::int64_t index = MonthIndexOf(line.Year, line.Month);
        const MonthSpan span = calendar.Months();
        if (index < span.First || index > span.Last)
            Refuse(number, line.Calendar + " does not cover " + std::string(fields[1]) +
                               (span.Bound.empty() ? "" : ": it lies outside " + std::string(span.Bound)));
        const auto key = std::pair{line.Calendar, index};
        if (const auto seen = Seen_.find(key); seen != Seen_.end())
            Refuse(number, line.Calendar + " " + std::string(fields[1]) + " is already set on line " +
                               IntToStr(seen->second));
        Seen_.emplace(key, number);
        return line;
    }

    // Every month next to a corrected first day must keep 29 or 30 days.
    void Lengths(const std::vector<CorrectionLine>& lines)
    {
        std::map<std::string, std::vector<MonthCorrection>> byCalendar;
        for (const CorrectionLine& line : lines)
            byCalendar[line.Calendar].push_back(
                {static_cast<std::int32_t>(MonthIndexOf(line.Year, line.Month)),
                 CivilDayNumber(line.CivilYear, line.CivilMonth, line.CivilDay), line.Line});
        for (auto& [name, months] : byCalendar) {
            const CorrectedCalendar corrected(FindCalendar(name)->Make(Options_), months, File_);
            const MonthSpan span = corrected.Months();
            for (const MonthCorrection& correction : corrected.Corrections())
                for (const std::int32_t month : {correction.Month - 1, correction.Month}) {
                    if (month < span.First)
                        continue;
                    const std::int64_t length =
                        corrected.Start(month + 1).FirstDay - corrected.Start(month).FirstDay;
                    if (length == 29 || length == 30)
                        continue;
                    const HijriMonth named = MonthOfIndex(month);
                    Refuse(LineSetting(corrected, month), "this gives " +
                               std::string(HMonthName(named.Month)) + " " + IntToStr(named.Year) +
                               " of " + name + " " + IntToStr(length) +
                               " days; a month has 29 or 30");
                }
        }
    }

private:
    const HijriCalendar& Base(const std::string& name)
    {
        auto found = Bases_.find(name);
        if (found == Bases_.end())
            found = Bases_.emplace(name, FindCalendar(name)->Make(Options_)).first;
        return *found->second;
    }

    // The later of the lines that set the two first days bounding a month.
    static std::int32_t LineSetting(const CorrectedCalendar& calendar, std::int32_t month)
    {
        std::int32_t line = 0;
        for (const MonthCorrection& correction : calendar.Corrections())
            if (correction.Month == month || correction.Month == month + 1)
                line = std::max(line, correction.Line);
        return line;
    }

    const std::string& File_;
    const CalendarOptions& Options_;
    std::map<std::string, std::unique_ptr<HijriCalendar>> Bases_;
    std::map<std::pair<std::string, std::int64_t>, std::int32_t> Seen_;
};

} // namespace

Corrections ParseCorrections(std::string_view text, const std::string& file,
                             const CalendarOptions& options)
{
    if (text.size() > MaxCorrectionsBytes)
        throw ECorrectionsError(file + ": larger than " + IntToStr(MaxCorrectionsBytes >> 10) +
                                " KiB; not a corrections file");
    Corrections corrections;
    corrections.File = file;
    Checker checker(file, options);
    std::int32_t number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        line = line.substr(0, std::min(line.find('#'), line.size()));
        if (line.find_first_not_of(Blanks) == std::string_view::npos)
            continue;
        corrections.Lines.push_back(checker.Line(line, number));
    }
    checker.Lengths(corrections.Lines);
    return corrections;
}

std::string DefaultCorrectionsFile()
{
    const std::string folder = ConfigFolder(cfWindows);
    return folder.empty() ? std::string() : folder + "/corrections";
}

Corrections ReadCorrectionsFile(const std::string& path, bool required,
                                const CalendarOptions& options)
{
    const auto refuse = [&path](const std::string& reason) {
        return ECorrectionsError(path + ": " + reason);
    };
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT && !required)
            return {path, {}};
        throw refuse(std::string("cannot open: ") + std::strerror(errno));
    }
    const TScopeExit closing([fd] { close(fd); });
    struct stat status {};
    if (fstat(fd, &status) != 0)
        throw refuse(std::string("cannot read: ") + std::strerror(errno));
    if (S_ISDIR(status.st_mode))
        throw refuse("is a folder, not a corrections file");
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw refuse(std::string("cannot read: ") + std::strerror(errno));
        if (got == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > MaxCorrectionsBytes)
            break;  // ParseCorrections refuses it without reading on
    }
    return ParseCorrections(text, path, options);
}

std::unique_ptr<HijriCalendar> MakeCorrectedCalendar(const CalendarEntry& entry,
                                                     const Corrections& corrections,
                                                     const CalendarOptions& options)
{
    std::vector<MonthCorrection> months;
    for (const CorrectionLine& line : corrections.Lines)
        if (line.Calendar == entry.Name)
            months.push_back({static_cast<std::int32_t>(MonthIndexOf(line.Year, line.Month)),
                              CivilDayNumber(line.CivilYear, line.CivilMonth, line.CivilDay),
                              line.Line});
    std::unique_ptr<HijriCalendar> calendar = entry.Make(options);
    if (months.empty())
        return calendar;
    return std::make_unique<CorrectedCalendar>(std::move(calendar), std::move(months),
                                               corrections.File);
}
