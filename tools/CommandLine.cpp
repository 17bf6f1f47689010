#include "tools/CommandLine.h"

#include <array>
#include <cctype>
#include <string_view>

const char* const UsageText =
    "Usage: dates-convert [--json] COMMAND [ARGUMENT]\n"
    "\n"
    "Converts dates between the civil calendar and the Hijri calendar, whose months\n"
    "begin with the astronomical new moon.\n"
    "\n"
    "Commands:\n"
    "  to-hijri YYYY-MM-DD      the Hijri date of a civil date\n"
    "  to-gregorian YYYY-MM-DD  the civil date of a Hijri date\n"
    "  today                    today's local date in both calendars\n"
    "  month YYYY-MM            how a Hijri month begins: its new moon, the rule that\n"
    "                           places its first day, its length\n"
    "\n"
    "Options:\n"
    "  --json      print one JSON object instead of lines of text\n"
    "  -h, --help  print this help and exit\n"
    "\n"
    "Civil dates before 15 October 1582 are Julian-calendar dates. There is no year 0:\n"
    "the year before 1 is -1, written -0001-01-01. Exit status: 0 on success, 2 for a\n"
    "command or date that cannot be used (the reason goes to standard error).\n";

namespace {

struct CommandName {
    std::string_view Name;
    CommandKind Kind;
    bool TakesArgument;
};

constexpr std::array<CommandName, 4> Commands{{
    {"to-hijri", CommandKind::ckToHijri, true},
    {"to-gregorian", CommandKind::ckToGregorian, true},
    {"today", CommandKind::ckToday, false},
    {"month", CommandKind::ckMonth, true},
}};

bool LooksLikeOption(const std::string& argument)
{
    return argument.size() > 1 && argument[0] == '-' &&
           !std::isdigit(static_cast<unsigned char>(argument[1]));
}

} // namespace

Request ParseCommandLine(const std::vector<std::string>& arguments)
{
    Request request;
    bool help = false;
    std::vector<std::string> words;
    for (const std::string& argument : arguments) {
        if (argument == "--json")
            request.Form = OutputForm::ofJson;
        else if (argument == "--help" || argument == "-h")
            help = true;
        else if (LooksLikeOption(argument))
            throw EUsageError("Unknown option '" + argument + "' (try --help)");
        else
            words.push_back(argument);
    }
    if (help)
        return request;
    if (words.empty())
        throw EUsageError("No command given (try --help)");
    for (const CommandName& command : Commands) {
        if (words[0] != command.Name)
            continue;
        const std::size_t expected = command.TakesArgument ? 2 : 1;
        if (words.size() < expected)
            throw EUsageError("The command " + std::string(command.Name) + " needs an argument");
        if (words.size() > expected)
            throw EUsageError("Unexpected argument '" + words[expected] + "'");
        request.Command = command.Kind;
        if (command.TakesArgument)
            request.Argument = words[1];
        return request;
    }
    throw EUsageError("Unknown command '" + words[0] + "' (try --help)");
}

std::string ExecuteRequest(const Request& request)
{
    switch (request.Command) {
    case CommandKind::ckHelp:
        return UsageText;
    case CommandKind::ckToHijri:
        return FormatDayReport(ConvertGregorian(ParseDate(request.Argument)), request.Form);
    case CommandKind::ckToGregorian:
        return FormatDayReport(ConvertHijri(ParseDate(request.Argument)), request.Form);
    case CommandKind::ckToday:
        return FormatDayReport(ConvertToday(), request.Form);
    case CommandKind::ckMonth: {
        const DateParts month = ParseMonth(request.Argument);
        return FormatMonthReport(DescribeHijriMonth(month.Year, month.Month), request.Form);
    }
    }
    return {};
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
        output = ExecuteRequest(ParseCommandLine(arguments));
        return 0;
    } catch (const EUsageError& e) {
        reason(e.Message());
        return 2;
    } catch (const std::exception& e) {
        reason(e.what());
        return 1;
    }
}
