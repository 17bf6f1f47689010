#include "tools/BatchConvert.h"

#include "calendar/CalendarNames.h"
#include "calendar/calendars/CivilDays.h"
#include "tools/ConvertCommands.h"
#include "tools/Digits.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <array>
#include <cstring>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

constexpr std::size_t BufferBytes = 1 << 16;
// Room one result needs at most besides the calendar's name: two dates of up to
// ten year digits, a weekday, the source and the JSON keys.
constexpr std::size_t ResultBytesBesidesName = 200;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads exactly `count` digits at text[at..]; false when any is not a digit.
bool ReadDigits(std::string_view text, std::size_t at, std::size_t count, std::int32_t& value)
{
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i]))
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

std::string_view Trimmed(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

char* AppendTwoDigits(char* out, std::int32_t value)
{
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

// FormatDate's text: at least four year digits, a minus before year 1.
char* AppendDate(char* out, std::int32_t year, std::int32_t month, std::int32_t day)
{
    std::int64_t magnitude = year;
    if (magnitude < 0) {
        *out++ = '-';
        magnitude = -magnitude;
    }
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    for (int pad = count; pad < 4; ++pad)
        *out++ = '0';
    while (count > 0)
        *out++ = digits[--count];
    *out++ = '-';
    out = AppendTwoDigits(out, month);
    *out++ = '-';
    return AppendTwoDigits(out, day);
}

char* AppendText(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

constexpr std::array<MonthSource, 3> Sources{MonthSource::msRule, MonthSource::msTable,
                                             MonthSource::msCorrection};

// The end of a JSON result, one for each source and weekday:
// `,"calendar":"NAME","source":"SOURCE"}`, with a language
// `,"calendar":"NAME","source":"SOURCE","weekday_local":"NAME"}`.
std::array<std::string, Sources.size() * 7> JsonEndings(std::string_view calendar,
                                                        const Presentation& presentation)
{
    std::array<std::string, Sources.size() * 7> endings;
    for (const MonthSource source : Sources)
        for (std::int32_t weekDay = 0; weekDay < 7; ++weekDay) {
            std::string ending = ",\"calendar\":\"" + std::string(calendar) + "\",\"source\":\"" +
                                 std::string(SourceName(source)) + "\"";
            if (presentation.Translated())
                ending += ",\"weekday_local\":" + nlohmann::json(presentation.Weekday(weekDay)).dump();
            endings[static_cast<std::size_t>(source) * 7 + static_cast<std::size_t>(weekDay)] =
                ending + "}";
        }
    return endings;
}

// The weekdays a text result ends with.
std::array<std::string, 7> WeekdayTexts(const Presentation& presentation)
{
    std::array<std::string, 7> names;
    for (std::int32_t weekDay = 0; weekDay < 7; ++weekDay)
        names[static_cast<std::size_t>(weekDay)] = presentation.Weekday(weekDay);
    return names;
}

// Room one result needs for the names and digits of the presentation, beyond
// what the converter's own names in Western digits need.
std::size_t ExtraResultBytes(const Presentation& presentation)
{
    if (presentation.Plain())
        return 0;
    std::size_t longest = 0;
    for (std::int32_t weekDay = 0; weekDay < 7; ++weekDay)
        longest = std::max(longest, presentation.Weekday(weekDay).size());
    // Two dates' digits twice as long, the weekday in the text and in weekday_local.
    return 2 * 24 + 2 * longest + 32;
}

class BatchRun {
public:
    BatchRun(BatchDirection direction, OutputForm form, CalendarConverter& calendar, int inFd,
             int outFd, int errFd, const Presentation& presentation)
        : Direction_(direction), Form_(form), Calendar_(calendar), InFd_(inFd), OutFd_(outFd),
          ErrFd_(errFd), In_(std::make_unique<char[]>(BufferBytes)),
          Out_(std::make_unique<char[]>(BufferBytes)),
          JsonEndings_(JsonEndings(calendar.Calendar().Name(), presentation)),
          WeekdayTexts_(WeekdayTexts(presentation)), Digits_(presentation.Digits()),
          ResultBytes_(ResultBytesBesidesName + calendar.Calendar().Name().size() +
                       ExtraResultBytes(presentation))
    {
    }

    int Run()
    {
        std::size_t begin = 0, end = 0;
        bool skipping = false;     // inside a line too long to be a date
        std::size_t skipped = 0;   // bytes of it so far
        bool lastReadShort = false;
        for (;;) {
            const char* start = In_.get() + begin;
            if (const void* newline = std::memchr(start, '\n', end - begin)) {
                const std::size_t length = static_cast<const char*>(newline) - start;
                ++LineNumber_;
                if (skipping)
                    ReportTooLong(skipped + length);
                else
                    Line({start, length});
                skipping = false;
                begin += length + 1;
                if (WriteFailed_)
                    return 1;
                continue;
            }
            const std::size_t pending = end - begin;
            if (skipping || pending > MaxBatchLineBytes) {
                skipped = (skipping ? skipped : 0) + pending;
                skipping = true;
                begin = end = 0;
            } else {
                std::memmove(In_.get(), start, pending);
                begin = 0;
                end = pending;
            }
            // Input that comes in short pieces may come from a person typing: what
            // has been converted goes out before waiting for more.
            if (lastReadShort && Used_ > 0 && !Flush())
                return 1;
            const std::size_t room = BufferBytes - end;
            const ssize_t got = ReadSome(In_.get() + end, room);
            lastReadShort = got >= 0 && static_cast<std::size_t>(got) < room;
            if (got < 0) {
                Flush();
                Report("cannot read standard input: " + std::string(std::strerror(errno)));
                return 1;
            }
            if (got == 0)
                break;
            end += static_cast<std::size_t>(got);
        }
        if (skipping || end > begin) {  // the last line had no newline
            ++LineNumber_;
            if (skipping)
                ReportTooLong(skipped);
            else
                Line({In_.get() + begin, end - begin});
        }
        if (!Flush())
            return 1;
        return AnyFailed_ ? 2 : 0;
    }

private:
    ssize_t ReadSome(char* into, std::size_t room)
    {
        for (;;) {
            const ssize_t got = read(InFd_, into, room);
            if (got >= 0 || errno != EINTR)
                return got;
        }
    }

    void Line(std::string_view line)
    {
        if (line.size() > MaxBatchLineBytes) {  // however it reached us, whole or in pieces
            ReportTooLong(line.size());
            return;
        }
        line = Trimmed(line);
        if (line.empty())
            return;
        DateParts date;
        Converted result;
        const bool toHijri = Direction_ == BatchDirection::bdToHijri;
        if (!ParseDateQuietly(line, date) || !Convert(date, result)) {
            ReportBadLine(line);
            return;
        }
        if (Used_ + ResultBytes_ > BufferBytes && !Flush())
            return;
        char* out = Out_.get() + Used_;
        const auto weekDayIndex = static_cast<std::size_t>(result.WeekDay);
        const std::string_view weekDay = DayNameTable[weekDayIndex];
        if (Form_ == OutputForm::ofText) {
            char* const dates = out;
            out = AppendDate(out, date.Year, date.Month, date.Day);
            *out++ = '\t';
            out = AppendDate(out, result.Year, result.Month, result.Day);
            if (Digits_ != DigitSet::dsLatin)
                out = AppendText(dates, InDigits({dates, static_cast<std::size_t>(out - dates)}, Digits_));
            *out++ = '\t';
            out = AppendText(out, WeekdayTexts_[weekDayIndex]);
        } else {
            const DateParts civil = toHijri ? date : DateParts{result.Year, result.Month, result.Day};
            const DateParts hijri = toHijri ? DateParts{result.Year, result.Month, result.Day} : date;
            out = AppendText(out, "{\"gregorian\":\"");
            out = AppendDate(out, civil.Year, civil.Month, civil.Day);
            out = AppendText(out, "\",\"hijri\":\"");
            out = AppendDate(out, hijri.Year, hijri.Month, hijri.Day);
            out = AppendText(out, "\",\"weekday\":\"");
            out = AppendText(out, weekDay);
            out = AppendText(out, "\",\"weekday_number\":");
            *out++ = static_cast<char>('0' + result.WeekDay);
            out = AppendText(out, JsonEndings_[static_cast<std::size_t>(result.Source) * 7 + weekDayIndex]);
        }
        *out++ = '\n';
        Used_ = static_cast<std::size_t>(out - Out_.get());
    }

    // The other calendar's date, its weekday and where its month's first day came from.
    struct Converted {
        std::int32_t Year = 0, Month = 0, Day = 0, WeekDay = 0;
        MonthSource Source = MonthSource::msRule;
    };

    // The quick path of the usual case, without allocating; a date it refuses gets
    // its reason from the one-date commands, on the rare path.
    bool Convert(const DateParts& date, Converted& result)
    {
        try {
            if (Direction_ == BatchDirection::bdToHijri) {
                if (!IsCivilDate(date))
                    return false;
                const std::int64_t day = CivilDayNumber(date.Year, date.Month, date.Day);
                HijriDay hijri;
                if (!Calendar_.TryToHijri(day, hijri))
                    return false;
                result = {hijri.Year, hijri.Month, hijri.Day, WeekDayOf(day), hijri.Source};
                return true;
            }
            std::int64_t day = 0;
            MonthSource source;
            if (!Calendar_.TryToCivilDay(date.Year, date.Month, date.Day, day, source))
                return false;
            const CivilDate civil = CivilDateOf(day);
            result = {civil.Year, civil.Month, civil.Day, civil.WeekDay, source};
            return true;
        } catch (const ERangeError&) {
            return false;
        }
    }

    void ReportBadLine(std::string_view line)
    {
        std::string reason = "not a date";
        try {
            const DateParts date = ParseDate(line);
            if (Direction_ == BatchDirection::bdToHijri)
                ConvertGregorian(date, Calendar_);
            else
                ConvertHijri(date, Calendar_);
        } catch (const Exception& e) {
            reason = e.Message();
        }
        if (!reason.empty())
            reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
        Report("line " + std::to_string(LineNumber_) + ": " + reason);
    }

    void ReportTooLong(std::size_t bytes)
    {
        Report("line " + std::to_string(LineNumber_) + ": not a date (a line of " +
               std::to_string(bytes) + " bytes)");
    }

    void Report(const std::string& message)
    {
        AnyFailed_ = true;
        const std::string text = "dates-convert: " + message + "\n";
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t wrote = write(ErrFd_, text.data() + done, text.size() - done);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                return;  // nowhere left to say it
            done += static_cast<std::size_t>(wrote);
        }
    }

    bool Flush()
    {
        std::size_t done = 0;
        while (done < Used_ && !WriteFailed_) {
            const ssize_t wrote = write(OutFd_, Out_.get() + done, Used_ - done);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                WriteFailed_ = true;
            else
                done += static_cast<std::size_t>(wrote);
        }
        Used_ = 0;
        if (WriteFailed_ && !WriteReported_) {
            WriteReported_ = true;
            Report("cannot write to standard output");
        }
        return !WriteFailed_;
    }

    const BatchDirection Direction_;
    const OutputForm Form_;
    CalendarConverter& Calendar_;
    const int InFd_, OutFd_, ErrFd_;
    std::unique_ptr<char[]> In_;
    std::unique_ptr<char[]> Out_;
    std::size_t Used_ = 0;
    std::int64_t LineNumber_ = 0;
    bool AnyFailed_ = false;
    bool WriteFailed_ = false;
    bool WriteReported_ = false;
    const std::array<std::string, Sources.size() * 7> JsonEndings_;  // by MonthSource, then weekday
    const std::array<std::string, 7> WeekdayTexts_;
    const DigitSet Digits_;
    const std::size_t ResultBytes_;
};

} // namespace

namespace {

// ParseDateQuietly over ASCII digits.
bool ParseWesternDateQuietly(std::string_view text, DateParts& date)
{
    std::size_t at = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        at = 1;
    std::size_t yearDigits = 0;
    while (at + yearDigits < text.size() && IsDigit(text[at + yearDigits]))
        ++yearDigits;
    // ParseDate takes up to nine year digits, then -MM-DD and nothing more.
    if (yearDigits == 0 || yearDigits > 9 || text.size() != at + yearDigits + 6)
        return false;
    const std::size_t monthAt = at + yearDigits + 1;
    if (text[monthAt - 1] != '-' || text[monthAt + 2] != '-')
        return false;
    std::int32_t year, month, day;
    if (!ReadDigits(text, at, yearDigits, year) || !ReadDigits(text, monthAt, 2, month) ||
        !ReadDigits(text, monthAt + 3, 2, day))
        return false;
    date = {negative ? -year : year, month, day};
    return true;
}

} // namespace

bool ParseDateQuietly(std::string_view text, DateParts& date)
{
    if (ParseWesternDateQuietly(text, date))
        return true;
    // Only a text that is no ASCII date can be one in the Arabic digits, so ASCII
    // input never comes this way.
    if (!NeedsWesternDigits(text))
        return false;
    char western[MaxBatchLineBytes];
    std::size_t length = 0;
    return WesternDigitsInto(text, western, sizeof western, length) &&
           ParseWesternDateQuietly({western, length}, date);
}

int RunBatch(BatchDirection direction, OutputForm form, CalendarConverter& calendar, int inFd,
             int outFd, int errFd, const Presentation& presentation)
{
    return BatchRun(direction, form, calendar, inFd, outFd, errFd, presentation).Run();
}
