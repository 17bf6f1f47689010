#include "tools/BatchConvert.h"

#include "calendar/CalendarNames.h"
#include "calendar/conver2.h"
#include "tools/ConvertCommands.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

constexpr std::size_t BufferBytes = 1 << 16;
// Room one result needs at most: two dates of up to ten year digits, a weekday
// and the JSON keys.
constexpr std::size_t ResultBytes = 160;

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

// Days in the Hijri month of lunation k: day d of a month counted from `start` is
// the civil day holding start + d.
std::int32_t HijriMonthLength(MonthStartCache& cache, std::int32_t lunation)
{
    double newMoon;
    const double start = cache.StartOf(lunation, newMoon);
    const double next = cache.StartOf(lunation + 1, newMoon);
    return static_cast<std::int32_t>(std::floor(next + 0.5) - std::floor(start + 0.5));
}

class BatchRun {
public:
    BatchRun(BatchDirection direction, OutputForm form, int inFd, int outFd, int errFd)
        : Direction_(direction), Form_(form), InFd_(inFd), OutFd_(outFd), ErrFd_(errFd),
          In_(std::make_unique<char[]>(BufferBytes)), Out_(std::make_unique<char[]>(BufferBytes)),
          Starts_(std::make_unique<MonthStartCache>())
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
        CalendarDate result;
        const bool toHijri = Direction_ == BatchDirection::bdToHijri;
        if (!ParseDateQuietly(line, date) || !Exists(date) || !Convert(date, result)) {
            ReportBadLine(line);
            return;
        }
        if (Used_ + ResultBytes > BufferBytes && !Flush())
            return;
        char* out = Out_.get() + Used_;
        const std::string_view weekDay = DayNameTable[result.WeekDay];
        if (Form_ == OutputForm::ofText) {
            out = AppendDate(out, date.Year, date.Month, date.Day);
            *out++ = '\t';
            out = AppendDate(out, result.Year, result.Month, result.Day);
            *out++ = '\t';
            out = AppendText(out, weekDay);
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
            *out++ = '}';
        }
        *out++ = '\n';
        Used_ = static_cast<std::size_t>(out - Out_.get());
    }

    // The quick checks of the usual case; a date they refuse gets its reason from
    // the one-date commands, on the rare path.
    bool Exists(const DateParts& date)
    {
        if (Direction_ == BatchDirection::bdToHijri)
            return IsCivilDate(date);
        if (date.Year == 0 || date.Month < 1 || date.Month > 12 || date.Day < 1)
            return false;
        try {
            return date.Day <= HijriMonthLength(*Starts_, HijriMonthLunation(date.Year, date.Month));
        } catch (const ERangeError&) {
            return false;
        }
    }

    bool Convert(const DateParts& date, CalendarDate& result)
    {
        try {
            if (Direction_ == BatchDirection::bdToHijri)
                GregorianToHijriDate(date.Year, date.Month, date.Day, result, *Starts_);
            else
                HijriToGregorianDate(date.Year, date.Month, date.Day, result, *Starts_);
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
                ConvertGregorian(date);
            else
                ConvertHijri(date);
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
    const int InFd_, OutFd_, ErrFd_;
    std::unique_ptr<char[]> In_;
    std::unique_ptr<char[]> Out_;
    std::size_t Used_ = 0;
    std::int64_t LineNumber_ = 0;
    bool AnyFailed_ = false;
    bool WriteFailed_ = false;
    bool WriteReported_ = false;
    std::unique_ptr<MonthStartCache> Starts_;  // the engine's month starts, remembered
};

} // namespace

bool ParseDateQuietly(std::string_view text, DateParts& date)
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

int RunBatch(BatchDirection direction, OutputForm form, int inFd, int outFd, int errFd)
{
    return BatchRun(direction, form, inFd, outFd, errFd).Run();
}
