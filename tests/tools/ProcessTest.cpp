// The real dates-convert binary run as a process: what it prints, its exit
// status, and the one line it writes to standard error when it refuses input.
#include "calendar/conver2.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ProcessResult {
    int ExitStatus = -1;
    std::string Output;
    std::string Error;
};

// Runs dates-convert with the arguments, standard output optionally sent to
// `stdoutPath` instead of a pipe.
ProcessResult RunDatesConvert(const std::vector<std::string>& arguments,
                              const char* stdoutPath = nullptr)
{
    int outPipe[2], errPipe[2];
    EXPECT_EQ(pipe(outPipe), 0);
    EXPECT_EQ(pipe(errPipe), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutPath)
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath, O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(DATES_CONVERT_PATH)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, DATES_CONVERT_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    ProcessResult result;
    EXPECT_EQ(spawned, 0);
    // Read both pipes as they fill, so neither can block the child.
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.Output, &result.Error};
    for (int open = 2; open > 0;) {
        if (poll(fds, 2, 10000) <= 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    if (spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.ExitStatus = WEXITSTATUS(status);
    return result;
}

TEST(DatesConvertProcess, ConvertsAndPrintsTheWindowsLine)
{
    const ProcessResult r = RunDatesConvert({"to-hijri", "1999-12-09"});
    EXPECT_EQ(r.ExitStatus, 0);
    EXPECT_EQ(r.Output,
              "gregorian: 1999-12-09\n"
              "hijri: 1420-09-01\n"
              "weekday: Thursday\n"
              "line: Thursday, 1 Ramadhan 1420  =  9 December 1999\n");
    EXPECT_EQ(r.Error, "");
}

TEST(DatesConvertProcess, PrintsOneJsonObject)
{
    const ProcessResult r = RunDatesConvert({"to-gregorian", "-0001-12-30", "--json"});
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    const auto object = nlohmann::json::parse(r.Output);
    EXPECT_EQ(object["hijri"], "-0001-12-30");
    EXPECT_EQ(object["gregorian"], "0622-07-15");
    EXPECT_EQ(object["weekday_number"], 4);

    const ProcessResult month = RunDatesConvert({"--json", "month", "1442-09"});
    ASSERT_EQ(month.ExitStatus, 0) << month.Error;
    const auto report = nlohmann::json::parse(month.Output);
    EXPECT_EQ(report["lunation"], 1500);
    EXPECT_EQ(report["new_moon_ut"], "2021-04-12T02:30Z");
    EXPECT_EQ(report["rule"], "next-day");
    EXPECT_EQ(report["first_day"], "2021-04-13");
    EXPECT_EQ(report["umalqura_first_day"], "2021-04-13");
}

TEST(DatesConvertProcess, TodayIsTheLocalDate)
{
    const std::time_t before = std::time(nullptr);
    const ProcessResult r = RunDatesConvert({"today", "--json"});
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    const auto object = nlohmann::json::parse(r.Output);
    char expected[2][16];
    for (int i = 0; i < 2; ++i) {
        std::tm local{};
        localtime_r(i == 0 ? &before : &after, &local);
        std::strftime(expected[i], sizeof expected[i], "%Y-%m-%d", &local);
    }
    const std::string shown = object["gregorian"];
    EXPECT_TRUE(shown == expected[0] || shown == expected[1]) << shown;
}

struct Refused {
    std::vector<std::string> Arguments;
    const char* Reason;
};

TEST(DatesConvertProcess, RefusesBadInputWithStatus2AndOneLine)
{
    const Refused cases[] = {
        {{}, "no command"},
        {{"--frobnicate", "today"}, "unknown option"},
        {{"to-hijri", "1582-10-10"}, "from 4 to 15 October 1582"},
        {{"to-gregorian", "1420-08-30"}, "Shabaan 1420, which has 29 days"},
        {{"to-hijri", "2000000-01-01"}, "-1000000 to 1000000"},
    };
    for (const Refused& c : cases) {
        const ProcessResult r = RunDatesConvert(c.Arguments);
        const std::string what = c.Arguments.empty() ? "(nothing)" : c.Arguments.back();
        EXPECT_EQ(r.ExitStatus, 2) << what;
        EXPECT_EQ(r.Output, "") << what;
        EXPECT_EQ(r.Error.rfind("dates-convert: ", 0), 0u) << r.Error;
        EXPECT_EQ(r.Error.find('\n'), r.Error.size() - 1) << "one line: " << r.Error;
        EXPECT_NE(r.Error.find(c.Reason), std::string::npos) << r.Error;
    }
}

TEST(DatesConvertProcess, HelpGoesToStandardOutput)
{
    const ProcessResult r = RunDatesConvert({"--help"});
    EXPECT_EQ(r.ExitStatus, 0);
    EXPECT_EQ(r.Output.rfind("Usage: dates-convert", 0), 0u);
    EXPECT_EQ(r.Error, "");
}

TEST(DatesConvertProcess, ReportsAFailedWriteWithStatus1)
{
    const ProcessResult r = RunDatesConvert({"today"}, "/dev/full");
    EXPECT_EQ(r.ExitStatus, 1);
    EXPECT_EQ(r.Error, "dates-convert: cannot write to standard output\n");
}

} // namespace
