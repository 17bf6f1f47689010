// dates-convert's batch mode end to end against the raw engine over the same dates.
//
// One million civil dates in a scrambled order over the years 1900 to 2150 go
// through `dates-convert to-hijri -` as a process (standard input from a file,
// standard output to a file: read, parse, check, convert, format, write), and
// their Hijri dates through `to-gregorian -`. The engine alone converts the same
// dates, already as numbers, in a loop. Reported: both rates and their ratio,
// the best of three runs each, and for reference the engine's rate with the
// month-start cache the batch mode uses. Then the same runs under every
// registered calendar (`--calendar NAME`, each with Hijri dates of its own).
// Run by hand:
//   build/release/bench/batch_bench
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CalendarRegistry.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/conver2.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int Lines = 1'000'000;
constexpr int Runs = 3;

using Clock = std::chrono::steady_clock;

struct Dates {
    std::vector<CalendarDate> Civil, Hijri;
};

Dates MakeDates()
{
    Dates dates;
    const double first = DateToJulianDay(1900, 1, 1);
    const double span = DateToJulianDay(2150, 12, 31) - first;
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < Lines; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        const double jd = first + std::floor(static_cast<double>(state >> 11) / 9007199254740992.0 * span);
        CalendarDate civil, hijri;
        JulianDayToDate(civil, jd);
        GregorianToHijriDate(civil.Year, civil.Month, civil.Day, hijri);
        dates.Civil.push_back(civil);
        dates.Hijri.push_back(hijri);
    }
    return dates;
}

// The Hijri dates of the same days under a calendar.
std::vector<CalendarDate> HijriDatesUnder(const CalendarEntry& entry, const std::vector<CalendarDate>& civil)
{
    const auto calendar = entry.Make();
    CalendarConverter converter(*calendar);
    std::vector<CalendarDate> dates;
    for (const CalendarDate& d : civil) {
        const HijriDay hijri = converter.ToHijri(CivilDayNumber(d.Year, d.Month, d.Day));
        CalendarDate date;
        date.Year = hijri.Year;
        date.Month = hijri.Month;
        date.Day = hijri.Day;
        dates.push_back(date);
    }
    return dates;
}

std::string WriteInput(const std::vector<CalendarDate>& dates, const char* path)
{
    std::FILE* file = std::fopen(path, "w");
    if (!file) {
        std::perror(path);
        std::exit(1);
    }
    for (const CalendarDate& d : dates)
        std::fprintf(file, "%04d-%02d-%02d\n", d.Year, d.Month, d.Day);
    std::fclose(file);
    return path;
}

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Best wall time of the process converting the file, with --calendar NAME when
// a calendar is named; `cpuSeconds`, when given, receives the least processor
// time (user and system) a run took, which other load on the machine disturbs less.
double ProcessSeconds(const char* command, const std::string& input, const std::string& output,
                      const std::string& calendar = {}, double* cpuSeconds = nullptr)
{
    double best = 1e9;
    for (int run = 0; run < Runs; ++run) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        // No corrections file of the machine's: /dev/null holds none.
        char* argv[] = {const_cast<char*>(DATES_CONVERT_PATH), const_cast<char*>(command),
                        const_cast<char*>("-"), const_cast<char*>("--corrections"),
                        const_cast<char*>("/dev/null"),
                        const_cast<char*>(calendar.empty() ? nullptr : "--calendar"),
                        const_cast<char*>(calendar.c_str()), nullptr};
        const Clock::time_point start = Clock::now();
        pid_t child = 0;
        if (posix_spawn(&child, DATES_CONVERT_PATH, &actions, nullptr, argv, environ) != 0) {
            std::perror("posix_spawn");
            std::exit(1);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        const double cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        if (cpuSeconds != nullptr && (run == 0 || cpu < *cpuSeconds))
            *cpuSeconds = cpu;
        const double seconds = SecondsSince(start);
        posix_spawn_file_actions_destroy(&actions);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "dates-convert %s - failed\n", command);
            std::exit(1);
        }
        best = std::min(best, seconds);
    }
    return best;
}

template <typename Convert>
double EngineSeconds(const std::vector<CalendarDate>& dates, Convert convert)
{
    double best = 1e9;
    volatile std::int32_t sink = 0;
    for (int run = 0; run < Runs; ++run) {
        const Clock::time_point start = Clock::now();
        CalendarDate result;
        for (const CalendarDate& d : dates) {
            convert(d.Year, d.Month, d.Day, result);
            sink = sink + result.Day;
        }
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

void Report(const char* what, double toolSeconds, double engineSeconds, double cachedSeconds)
{
    const double tool = Lines / toolSeconds, engine = Lines / engineSeconds;
    std::printf("%-13s  dates-convert %9.0f lines/s   engine %9.0f dates/s   tool/engine %.2f"
                "   (engine with month-start cache %9.0f dates/s)\n",
                what, tool, engine, tool / engine, Lines / cachedSeconds);
}

} // namespace

int main()
{
    const Dates dates = MakeDates();
    const std::string directory = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    const std::string civil = WriteInput(dates.Civil, (directory + "/batch_bench_civil.txt").c_str());
    const std::string hijri = WriteInput(dates.Hijri, (directory + "/batch_bench_hijri.txt").c_str());
    const std::string output = directory + "/batch_bench_out.txt";

    std::printf("%d lines, best of %d runs, civil years 1900-2150 in scrambled order\n", Lines, Runs);
    MonthStartCache cache;
    Report("to-hijri", ProcessSeconds("to-hijri", civil, output),
           EngineSeconds(dates.Civil, [](auto y, auto m, auto d, CalendarDate& r) {
               GregorianToHijriDate(y, m, d, r);
           }),
           EngineSeconds(dates.Civil, [&cache](auto y, auto m, auto d, CalendarDate& r) {
               GregorianToHijriDate(y, m, d, r, cache);
           }));
    Report("to-gregorian", ProcessSeconds("to-gregorian", hijri, output),
           EngineSeconds(dates.Hijri, [](auto y, auto m, auto d, CalendarDate& r) {
               HijriToGregorianDate(y, m, d, r);
           }),
           EngineSeconds(dates.Hijri, [&cache](auto y, auto m, auto d, CalendarDate& r) {
               HijriToGregorianDate(y, m, d, r, cache);
           }));

    std::printf("\nunder each calendar (--calendar NAME), lines/s of wall time (and of processor time)\n"
                "%-13s  %24s  %24s\n", "calendar", "to-hijri", "to-gregorian");
    const std::string own = directory + "/batch_bench_hijri_calendar.txt";
    for (const CalendarEntry& entry : RegisteredCalendars()) {
        WriteInput(HijriDatesUnder(entry, dates.Civil), own.c_str());
        const std::string name(entry.Name);
        double thereCpu = 0, backCpu = 0;
        const double there = ProcessSeconds("to-hijri", civil, output, name, &thereCpu);
        const double back = ProcessSeconds("to-gregorian", own, output, name, &backCpu);
        std::printf("%-13s  %10.0f  (%10.0f)  %10.0f  (%10.0f)\n", name.c_str(), Lines / there,
                    Lines / thereCpu, Lines / back, Lines / backCpu);
    }
    for (const std::string& path : {civil, hijri, output, own})
        std::remove(path.c_str());
    return 0;
}
