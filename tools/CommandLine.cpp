#include "tools/CommandLine.h"

#include "tools/BatchConvert.h"
#include "tools/CalendarChoice.h"
#include "tools/Digits.h"
#include "tools/CrescentCommand.h"
#include "calendar/calendars/SightingCalendar.h"
#include "astronomy/Places.h"
#include "tools/IcsCalendar.h"
#include "tools/Language.h"
#include "tools/MonthGrid.h"
#include "tools/Observances.h"

#include <nlohmann/json.hpp>

#include <unistd.h>

#include <array>
#include <iterator>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

const char* const UsageText =
    "Usage: dates-convert [--json] [--calendar NAME] [--corrections FILE] [--lang CODE]\n"
    "                     [--digits SET] COMMAND [ARGUMENT...]\n"
    "\n"
    "Converts dates between the civil calendar and the Hijri calendar, whose months\n"
    "begin with the astronomical new moon.\n"
    "\n"
    "Commands:\n"
    "  to-hijri YYYY-MM-DD      the Hijri date of a civil date\n"
    "  to-gregorian YYYY-MM-DD  the civil date of a Hijri date\n"
    "  to-hijri -               convert standard input, one date a line, each to\n"
    "  to-gregorian -           INPUT<TAB>RESULT<TAB>Weekday (with --json a JSON\n"
    "                           object a line); a bad line is reported on standard\n"
    "                           error with its number and the run goes on\n"
    "  today                    today's local date in both calendars\n"
    "  month YYYY-MM            how a Hijri month begins: its new moon, the rule that\n"
    "                           places its first day, its length\n"
    "  year YYYY                the twelve months of a Hijri year, one row each\n"
    "  calendar [YYYY-MM]       a civil month as a grid of weeks from Sunday, each\n"
    "                           day as civil/Hijri day number (default: this month;\n"
    "                           today is marked on a terminal unless NO_COLOR is set)\n"
    "  calendar --hijri [YYYY-MM]  a Hijri month as a grid, each day as Hijri/civil\n"
    "  ics FROM [TO]            an iCalendar file with an all-day event on the first\n"
    "                           day of every month of the Hijri years FROM to TO (at\n"
    "                           most 200 years)\n"
    "  observances YYYY         the days a Hijri year keeps (New Year, Ashura, ...,\n"
    "                           Eid al-Adha): civil date, weekday and eve\n"
    "  crescent YYYY-MM [--at PLACE]\n"
    "                           the conjunction that opens a Hijri month and the\n"
    "                           crescent at sunset on its civil day and the two days\n"
    "                           after: sunset, moonset, lag, age, altitude, elongation\n"
    "                           and the Yallop, Odeh, MABIMS, Istanbul 2016 and Danjon\n"
    "                           criteria; PLACE is LAT,LON[,ELEVATION_M] (north and\n"
    "                           east positive) or a name such as Mecca (the default),\n"
    "                           Istanbul, Jakarta, \"New York\"\n"
    "  crescent-map YYYY-MM-DD --png FILE [--criterion odeh|yallop] [--grid DEG]\n"
    "                           a world map of the crescent on the evening of a\n"
    "                           civil date, each place at its own sunset, as a PNG\n"
    "                           picture: every cell of a DEG-degree grid (default 1)\n"
    "                           coloured by the criterion's zone (default odeh),\n"
    "                           where the Moon sets first, where the Sun does not\n"
    "                           set or rise, coastlines (from gmt-gshhg-low) and the\n"
    "                           named places\n"
    "\n"
    "Options:\n"
    "  --json               print JSON instead of text (one object; one a line for a\n"
    "                       batch)\n"
    "  --hijri              calendar: draw a Hijri month\n"
    "  --calendar NAME      the Hijri calendar to convert by (default: astronomical,\n"
    "                       the converter's own rule); month shows them all side by\n"
    "                       side\n"
    "  --calendar list      print the calendars, one a line, and exit\n"
    "  --corrections FILE   first days announced for chosen months, one a line\n"
    "                       'CALENDAR YYYY-MM YYYY-MM-DD' (default: the file\n"
    "                       corrections in $XDG_CONFIG_HOME/dates-converter)\n"
    "  --observances        ics: add the observances as events\n"
    "  --at PLACE           crescent, or --calendar sighting: the place of the\n"
    "                       evenings\n"
    "  --criterion NAME     --calendar sighting: the crescent counts as seen by\n"
    "                       yallop, odeh (the default), mabims, istanbul2016 or\n"
    "                       danjon\n"
    "  --png FILE           crescent-map: the picture to write (replaced whole, or\n"
    "                       left as it was when the map cannot be made)\n"
    "  --grid DEG           crescent-map: the cell size, 0.25 to 10 degrees dividing\n"
    "                       180\n"
    "  --lang CODE          name weekdays and months in a language, from ICU's\n"
    "                       locale data: ar, fa, ur, tr, ms, id, en, or auto for\n"
    "                       the language of LC_ALL, LC_TIME or LANG (the\n"
    "                       converter's own English names when it is none of\n"
    "                       them); JSON keeps its keys and adds KEY_local ones\n"
    "  --digits SET         write numbers in latn (0-9, the default), arab\n"
    "                       (Arabic-Indic) or arabext (Eastern Arabic-Indic)\n"
    "                       digits, or auto for the language's own\n"
    "  -h, --help           print this help and exit\n"
    "\n"
    "Dates and years may be given in any of the three sets of digits. Civil dates\n"
    "before 15 October 1582 are Julian-calendar dates. There is no year 0: the\n"
    "year before 1 is -1, written -0001-01-01. Exit status: 0 on success, 2 for a\n"
    "command or date that cannot be used (the reason goes to standard error) or for\n"
    "a batch with a bad line, 1 when output cannot be written.\n";

namespace {

struct CommandName {
    std::string_view Name;
    CommandKind Kind;
    std::size_t MinArguments;
    std::size_t MaxArguments;
};

constexpr std::array<CommandName, 10> Commands{{
    {"to-hijri", CommandKind::ckToHijri, 1, 1},
    {"to-gregorian", CommandKind::ckToGregorian, 1, 1},
    {"today", CommandKind::ckToday, 0, 0},
    {"month", CommandKind::ckMonth, 1, 1},
    {"year", CommandKind::ckYear, 1, 1},
    {"calendar", CommandKind::ckCalendar, 0, 1},
    {"ics", CommandKind::ckIcs, 1, 2},
    {"observances", CommandKind::ckObservances, 1, 1},
    {"crescent", CommandKind::ckCrescent, 1, 1},
    {"crescent-map", CommandKind::ckCrescentMap, 1, 1},
}};

// A negative year may come in the Arabic digits too.
bool LooksLikeOption(const std::string& argument)
{
    const std::string western = NeedsWesternDigits(argument) ? WesternDigits(argument) : argument;
    return western.size() > 1 && western[0] == '-' &&
           !std::isdigit(static_cast<unsigned char>(western[1]));
}

// A Hijri year as the year commands take it: an optional minus and digits of any
// of the three sets.
std::int32_t ParseYear(const std::string& given)
{
    const std::string text = NeedsWesternDigits(given) ? WesternDigits(given) : given;
    const std::string_view digits = std::string_view(text).substr(!text.empty() && text[0] == '-');
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        throw EUsageError("'" + given + "' is not a year (digits, a minus before year 1)");
    const std::int32_t year = StrToInt(digits);
    if (year == 0)
        throw EUsageError("There is no Hijri year 0: the year before 1 is -1");
    return text[0] == '-' ? -year : year;
}

std::string CalendarText(const Request& request, CalendarChoice& calendars,
                         const Presentation& presentation)
{
    std::optional<DateParts> today;
    DateParts month;
    if (request.Argument.empty() || request.MarkToday) {
        const DayReport now = ConvertToday(calendars.Chosen());
        if (request.MarkToday)
            today = now.Gregorian;
        month = request.HijriCalendar ? now.Hijri : now.Gregorian;
    }
    if (!request.Argument.empty())
        month = ParseMonth(request.Argument);
    const MonthGrid grid = request.HijriCalendar ? HijriMonthGrid(month.Year, month.Month, calendars)
                                                 : CivilMonthGrid(month.Year, month.Month, calendars);
    return FormatMonthGrid(grid, request.Form, today, presentation);
}

std::string CalendarList(OutputForm form)
{
    if (form == OutputForm::ofJson) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const CalendarEntry& entry : RegisteredCalendars())
            list.push_back({{"name", entry.Name},
                            {"summary", entry.Summary},
                            {"default", entry.Name == DefaultCalendarName}});
        return nlohmann::ordered_json{{"calendars", list}}.dump(2) + "\n";
    }
    std::vector<std::vector<std::string>> rows;
    for (const CalendarEntry& entry : RegisteredCalendars())
        rows.push_back({std::string(entry.Name), std::string(entry.Summary)});
    return AlignedColumns(rows);
}

// The value of an option that takes one: "--calendar NAME" or "--calendar=NAME".
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& at, std::string_view option,
               std::string& value)
{
    const std::string& argument = arguments[at];
    if (argument.rfind(std::string(option) + "=", 0) == 0)
        value = argument.substr(option.size() + 1);
    else if (argument == option && at + 1 < arguments.size())
        value = arguments[++at];
    else if (argument == option)
        value.clear();
    else
        return false;
    if (value.empty())
        throw EUsageError("The option " + std::string(option) + " needs a value" +
                          (option == "--calendar" ? " (try --calendar list)" : ""));
    return true;
}

// The place and criterion of `sighting`, as --at and --criterion give them.
CalendarOptions OptionsOf(const Request& request)
{
    CalendarOptions options;
    if (!request.Place.empty()) {
        const CrescentPlace place = ParseCrescentPlace(request.Place);
        options.Place = place.Where;
        options.PlaceName = place.Name ? *place.Name : CoordinatesText(place.Where);
        if (std::fabs(options.Place.Latitude) > MaxSightingLatitude)
            throw EUsageError("The calendar sighting is reckoned at places from 65°S to 65°N; " +
                              options.PlaceName + " lies beyond");
    }
    if (!request.Criterion.empty()) {
        std::string names;
        for (const astronomy::Criterion& criterion : astronomy::CrescentCriteria()) {
            if (criterion.Key == request.Criterion)
                options.Criterion = criterion.Id;
            names += (names.empty() ? "" : ", ") + std::string(criterion.Key);
        }
        if (astronomy::CriterionOf(options.Criterion).Key != request.Criterion)
            throw EUsageError("Unknown criterion '" + request.Criterion + "' (" + names + ")");
    }
    return options;
}

} // namespace

Request ParseCommandLine(const std::vector<std::string>& arguments)
{
    Request request;
    bool help = false;
    std::vector<std::string> words;
    bool placeGiven = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (TakeValue(arguments, at, "--calendar", request.CalendarName) ||
            TakeValue(arguments, at, "--corrections", request.CorrectionsFile) ||
            TakeValue(arguments, at, "--criterion", request.Criterion))
            continue;
        if (TakeValue(arguments, at, "--lang", request.Language)) {
            RequireLanguageOption(request.Language);
            continue;
        }
        if (TakeValue(arguments, at, "--digits", request.Digits)) {
            RequireDigitsOption(request.Digits);
            continue;
        }
        if (argument == "--at" || argument.starts_with("--at=")) {
            if (argument == "--at" && at + 1 == arguments.size())
                throw EUsageError("The option --at needs a place");
            request.Place = argument == "--at" ? arguments[++at] : argument.substr(5);
            placeGiven = true;
        } else if (TakeCrescentMapOption(arguments, at, request.Map)) {
            // --png or --grid, with its value
        } else if (argument == "--json")
            request.Form = OutputForm::ofJson;
        else if (argument == "--hijri")
            request.HijriCalendar = true;
        else if (argument == "--observances")
            request.Observances = true;
        else if (argument == "--help" || argument == "-h")
            help = true;
        else if (LooksLikeOption(argument))
            throw EUsageError("Unknown option '" + argument + "' (try --help)");
        else
            words.push_back(argument);
    }
    if (help)
        return request;
    for (const CommandName& command : Commands)
        if (request.CalendarName == command.Name && FindCalendar(command.Name) == nullptr)
            throw EUsageError("The option --calendar needs a calendar's name before the command " +
                              std::string(command.Name) + " (try --calendar list)");
    if (request.CalendarName == "list") {
        request.Command = CommandKind::ckCalendarList;
        request.CalendarName.clear();
        return request;
    }
    if (words.empty())
        throw EUsageError("No command given (try --help)");
    for (const CommandName& command : Commands) {
        if (words[0] != command.Name)
            continue;
        const std::size_t given = words.size() - 1;
        if (given < command.MinArguments)
            throw EUsageError("The command " + std::string(command.Name) + " needs an argument");
        if (given > command.MaxArguments)
            throw EUsageError("Unexpected argument '" + words[command.MaxArguments + 1] + "'");
        if (request.HijriCalendar && command.Kind != CommandKind::ckCalendar)
            throw EUsageError("The option --hijri belongs to the command calendar");
        if (request.Observances && command.Kind != CommandKind::ckIcs)
            throw EUsageError("The option --observances belongs to the command ics");
        const bool sighting = request.CalendarName == "sighting";
        if (placeGiven && command.Kind != CommandKind::ckCrescent && !sighting)
            throw EUsageError("The option --at belongs to the command crescent and to --calendar sighting");
        if (!request.Criterion.empty() && !sighting && command.Kind != CommandKind::ckCrescentMap)
            throw EUsageError("The option --criterion belongs to the command crescent-map and to "
                              "--calendar sighting");
        if ((command.Kind == CommandKind::ckCrescent || command.Kind == CommandKind::ckCrescentMap) &&
            (!request.CalendarName.empty() || !request.CorrectionsFile.empty()))
            throw EUsageError("The command " + std::string(command.Name) +
                              " takes no calendar: --calendar and --corrections belong to the "
                              "commands that convert");
        if (command.Kind == CommandKind::ckCrescentMap &&
            (!request.Language.empty() || !request.Digits.empty()))
            throw EUsageError("The map of crescent-map is labelled in English: --lang and --digits "
                              "belong to the commands that print text");
        if (request.Map.Given && command.Kind != CommandKind::ckCrescentMap)
            throw EUsageError("The options --png and --grid belong to the command crescent-map");
        if (command.Kind == CommandKind::ckCrescentMap)
            request.Map.Criterion = request.Criterion;
        request.Command = command.Kind;
        if (given > 0)
            request.Argument = words[1];
        if (given > 1)
            request.SecondArgument = words[2];
        if (request.Argument == "-" && command.Kind == CommandKind::ckToHijri)
            request.Command = CommandKind::ckBatchToHijri;
        if (request.Argument == "-" && command.Kind == CommandKind::ckToGregorian)
            request.Command = CommandKind::ckBatchToGregorian;
        return request;
    }
    throw EUsageError("Unknown command '" + words[0] + "' (try --help)");
}

namespace {

Presentation PresentationFor(const Request& request)
{
    const LanguageChoice choice =
        ChooseLanguage(request.Language, request.Digits, request.EnvironmentLocale);
    if (choice.Locale.empty())
        return Presentation(choice.Digits);
    return Presentation(choice.Locale, choice.Digits);
}

} // namespace

std::string ExecuteRequest(const Request& request)
{
    const Presentation presentation = PresentationFor(request);
    switch (request.Command) {
    case CommandKind::ckHelp:
        return UsageText;
    case CommandKind::ckCalendarList:
        return CalendarList(request.Form);
    case CommandKind::ckBatchToHijri:
    case CommandKind::ckBatchToGregorian:
        throw EUsageError("The batch commands read standard input; run them as a process");
    case CommandKind::ckCrescent: {
        const DateParts month = ParseMonth(request.Argument);
        const CrescentPlace place = request.Place.empty()
                                        ? CrescentPlace{std::string(astronomy::DefaultPlace().Name),
                                                        astronomy::DefaultPlace().Where}
                                        : ParseCrescentPlace(request.Place);
        return FormatCrescentReport(DescribeCrescent(month.Year, month.Month, place), request.Form,
                                    presentation);
    }
    case CommandKind::ckCrescentMap:
        // The picture goes to its file; standard output stays empty.
        WriteCrescentMap(ParseCrescentMapRequest(request.Argument, request.Map), [](const std::string& notice) {
            std::fputs(("dates-convert: " + notice + "\n").c_str(), stderr);
        });
        return {};
    default:
        break;
    }
    CalendarChoice calendars(request.CalendarName, request.CorrectionsFile, OptionsOf(request));
    const bool named = calendars.Named();
    switch (request.Command) {
    case CommandKind::ckToHijri:
        return FormatDayReport(ConvertGregorian(ParseDate(request.Argument), calendars.Chosen()),
                               request.Form, named, presentation);
    case CommandKind::ckToGregorian:
        return FormatDayReport(ConvertHijri(ParseDate(request.Argument), calendars.Chosen()),
                               request.Form, named, presentation);
    case CommandKind::ckToday:
        return FormatDayReport(ConvertToday(calendars.Chosen()), request.Form, named, presentation);
    case CommandKind::ckMonth: {
        const DateParts month = ParseMonth(request.Argument);
        return FormatMonthReport(DescribeHijriMonth(month.Year, month.Month, calendars),
                                 request.Form, named, presentation);
    }
    case CommandKind::ckYear: {
        const std::int32_t year = ParseYear(request.Argument);
        return FormatYearReport(year, DescribeHijriYear(year, calendars), request.Form, named,
                                presentation);
    }
    case CommandKind::ckCalendar:
        return CalendarText(request, calendars, presentation);
    case CommandKind::ckIcs: {
        const std::int32_t from = ParseYear(request.Argument);
        const std::int32_t to =
            request.SecondArgument.empty() ? from : ParseYear(request.SecondArgument);
        return IcsCalendar(from, to, request.Stamp, calendars, request.Observances, presentation);
    }
    case CommandKind::ckObservances: {
        const std::int32_t year = ParseYear(request.Argument);
        return FormatObservances(year, calendars.Name(), ObservancesOfYear(year, calendars.Chosen()),
                                 request.Form, presentation);
    }
    default:
        return {};
    }
}

int RunDatesConvert(const std::vector<std::string>& arguments, std::string& output,
                    std::string& error)
{
    const auto reason = [&error](std::string message) {
        if (!message.empty())
            message[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(message[0])));
        error = "dates-convert: " + message + "\n";
    };
    try {
        Request request = ParseCommandLine(arguments);
        request.EnvironmentLocale = EnvironmentLocale();
        output = ExecuteRequest(request);
        return 0;
    } catch (const EUsageError& e) {
        reason(e.Message());
        return 2;
    } catch (const std::exception& e) {
        reason(e.what());
        return 1;
    }
}

namespace {

// SOURCE_DATE_EPOCH, for reproducible files, else the clock.
std::time_t StampNow()
{
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        char* end = nullptr;
        errno = 0;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (errno == 0 && end != epoch && *end == '\0' && seconds >= 0)
            return static_cast<std::time_t>(seconds);
    }
    return std::time(nullptr);
}

bool ColourWanted()
{
    const char* noColour = std::getenv("NO_COLOR");
    return isatty(STDOUT_FILENO) == 1 && (noColour == nullptr || *noColour == '\0');
}

int Fail(const std::string& message, int status)
{
    std::string text = message;
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    std::fputs(("dates-convert: " + text + "\n").c_str(), stderr);
    return status;
}

} // namespace

int RunDatesConvertProcess(const std::vector<std::string>& arguments)
{
    Request request;
    try {
        request = ParseCommandLine(arguments);
    } catch (const EUsageError& e) {
        return Fail(e.Message(), 2);
    }
    if (request.Command == CommandKind::ckBatchToHijri ||
        request.Command == CommandKind::ckBatchToGregorian) {
        const BatchDirection direction = request.Command == CommandKind::ckBatchToHijri
                                             ? BatchDirection::bdToHijri
                                             : BatchDirection::bdToGregorian;
        std::unique_ptr<CalendarChoice> calendars;
        std::optional<Presentation> presentation;
        try {
            calendars = std::make_unique<CalendarChoice>(request.CalendarName, request.CorrectionsFile,
                                                         OptionsOf(request));
            request.EnvironmentLocale = EnvironmentLocale();
            presentation = PresentationFor(request);
        } catch (const EUsageError& e) {
            return Fail(e.Message(), 2);
        } catch (const std::exception& e) {
            return Fail(e.what(), 1);
        }
        return RunBatch(direction, request.Form, calendars->Chosen(), STDIN_FILENO, STDOUT_FILENO,
                        STDERR_FILENO, *presentation);
    }
    request.MarkToday = request.Command == CommandKind::ckCalendar && ColourWanted();
    request.Stamp = StampNow();
    request.EnvironmentLocale = EnvironmentLocale();
    std::string output;
    int status = 0;
    try {
        output = ExecuteRequest(request);
    } catch (const EUsageError& e) {
        return Fail(e.Message(), 2);
    } catch (const std::exception& e) {
        return Fail(e.what(), 1);
    }
    if (std::fputs(output.c_str(), stdout) == EOF || std::fflush(stdout) == EOF)
        status = Fail("cannot write to standard output", 1);
    return status;
}
