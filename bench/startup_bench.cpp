// Start-up of dates-converter against a minimal Qt Widgets window built in the
// same tree: time from starting the process to its first painted frame, and
// the peak resident memory of the whole run, as medians of alternating runs
// and as ratios to the minimal window. Runs on whatever display the
// environment names (xvfb-run, or QT_QPA_PLATFORM=offscreen).
//
//     startup_bench [runs]      (default 15, after one warm-up run of each)
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct TRun {
    double FirstFrameMs = 0;
    double TrailStartMs = -1; // -1: the program draws no opening trail
    double TrailMs = -1;
    long PeakRssKb = 0;
};

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Starts program, reads its "first-frame <ns>" line and waits for it to end.
bool RunOnce(const char* program, TRun& run)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};
    const long long started = MonotonicNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return false;
    }
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const std::size_t at = output.find("first-frame ");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos)
        return false;
    const long long frame = std::atoll(output.c_str() + at + 12);
    run.FirstFrameMs = static_cast<double>(frame - started) / 1e6;
    run.PeakRssKb = usage.ru_maxrss;
    const std::size_t trailStart = output.find("trail-start ");
    const std::size_t trailEnd = output.find("trail-end ");
    if (trailStart != std::string::npos && trailEnd != std::string::npos) {
        const long long begun = std::atoll(output.c_str() + trailStart + 12);
        run.TrailStartMs = static_cast<double>(begun - started) / 1e6;
        run.TrailMs = static_cast<double>(std::atoll(output.c_str() + trailEnd + 10) - begun) / 1e6;
    }
    return true;
}

template <typename T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const char* programs[] = {STARTUP_BENCH_CONVERTER, STARTUP_BENCH_MINIMAL};
    std::vector<double> times[2];
    std::vector<long> rss[2];
    std::vector<double> trailStarts, trailLengths;
    for (int i = -1; i < runs; ++i) {
        for (int p = 0; p < 2; ++p) {
            TRun run;
            if (!RunOnce(programs[p], run)) {
                std::fprintf(stderr, "startup_bench: %s did not report a first frame\n", programs[p]);
                return 1;
            }
            if (i >= 0) { // the first round only warms the caches
                times[p].push_back(run.FirstFrameMs);
                rss[p].push_back(run.PeakRssKb);
                if (p == 0 && run.TrailStartMs >= 0) {
                    trailStarts.push_back(run.TrailStartMs);
                    trailLengths.push_back(run.TrailMs);
                }
            }
        }
    }
    const double converterMs = Median(times[0]), minimalMs = Median(times[1]);
    const long converterKb = Median(rss[0]), minimalKb = Median(rss[1]);
    std::printf("start to first frame (median of %d): converter %.1f ms, minimal window %.1f ms, ratio %.2f (target <= 1.5)\n",
                runs, converterMs, minimalMs, converterMs / minimalMs);
    if (!trailStarts.empty()) {
        const double trailStartMs = Median(trailStarts);
        std::printf("start to the opening trail (median of %zu): converter %.1f ms, ratio to the minimal window's first frame %.2f (target <= 1.5)\n",
                    trailStarts.size(), trailStartMs, trailStartMs / minimalMs);
        std::printf("opening trail's own length (median): %.1f ms (160 rectangles, 3 ms apart)\n", Median(trailLengths));
    }
    std::printf("peak resident memory (median of %d): converter %ld KiB, minimal window %ld KiB, ratio %.2f (target <= 1.3)\n",
                runs, converterKb, minimalKb, static_cast<double>(converterKb) / static_cast<double>(minimalKb));
    return 0;
}
