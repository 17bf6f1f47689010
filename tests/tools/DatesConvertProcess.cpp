#include "DatesConvertProcess.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <string_view>

extern char** environ;

ProcessOptions Input(std::string text)
{
    ProcessOptions options;
    options.Input = std::move(text);
    return options;
}

ProcessResult RunDatesConvert(const std::vector<std::string>& arguments,
                              const ProcessOptions& options)
{
    int inPipe[2], outPipe[2], errPipe[2];
    EXPECT_EQ(pipe(inPipe), 0);
    EXPECT_EQ(pipe(outPipe), 0);
    EXPECT_EQ(pipe(errPipe), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], STDIN_FILENO);
    if (options.StdoutPath)
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, options.StdoutPath, O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    for (int fd : {inPipe[1], outPipe[0], errPipe[0]})
        posix_spawn_file_actions_addclose(&actions, fd);
    std::vector<char*> argv{const_cast<char*>(DATES_CONVERT_PATH)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    // The test's entries first (getenv takes the first of a name), then a
    // configuration folder of nobody's, then ours.
    std::vector<char*> environment;
    for (const std::string& entry : options.Environment)
        environment.push_back(const_cast<char*>(entry.c_str()));
    static char noConfiguration[] = "XDG_CONFIG_HOME=/nonexistent/dates-convert-test";
    environment.push_back(noConfiguration);
    for (char** entry = environ; *entry; ++entry)
        if (std::string_view(*entry).rfind("XDG_CONFIG_HOME=", 0) != 0)
            environment.push_back(*entry);
    environment.push_back(nullptr);
    // A child that stops reading early must not kill us with SIGPIPE; the child
    // itself gets the default disposition back.
    std::signal(SIGPIPE, SIG_IGN);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, DATES_CONVERT_PATH, &actions, &attributes,
                                    argv.data(), environment.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(inPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    ProcessResult result;
    EXPECT_EQ(spawned, 0);
    fcntl(inPipe[1], F_SETFL, O_NONBLOCK);
    std::size_t fed = 0;
    const std::size_t total = options.FillBytes + options.Input.size();
    static const std::string fill(65536, '7');
    if (total == 0) {
        close(inPipe[1]);
        inPipe[1] = -1;
    }
    pollfd fds[3] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}, {inPipe[1], POLLOUT, 0}};
    std::string* sinks[2] = {&result.Output, &result.Error};
    for (int open = 2; open > 0;) {
        if (poll(fds, 3, 10000) <= 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[65536];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
        if (fds[2].fd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const bool filling = fed < options.FillBytes;
            const char* from = filling ? fill.data() : options.Input.data() + (fed - options.FillBytes);
            const std::size_t count = filling ? std::min(fill.size(), options.FillBytes - fed)
                                              : total - fed;
            const ssize_t n = write(fds[2].fd, from, count);
            if (n > 0)
                fed += static_cast<std::size_t>(n);
            if (n < 0 || fed == total) {
                close(fds[2].fd);
                fds[2].fd = -1;
            }
        }
    }
    if (fds[2].fd >= 0)
        close(fds[2].fd);
    int status = 0;
    rusage usage{};
    if (spawned == 0 && wait4(child, &status, 0, &usage) == child && WIFEXITED(status))
        result.ExitStatus = WEXITSTATUS(status);
    result.PeakKilobytes = usage.ru_maxrss;
    return result;
}

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1)
        lines.push_back(text.substr(begin, end - begin));
    return lines;
}

nlohmann::json JsonOf(const std::vector<std::string>& arguments, const ProcessOptions& options)
{
    const ProcessResult r = RunDatesConvert(arguments, options);
    EXPECT_EQ(r.ExitStatus, 0) << r.Error;
    return nlohmann::json::parse(r.Output);
}
