// The settings store's parsers on large files: the registry file with 10,000
// to 80,000 keys (one value each), and the profile file's section list with
// as many sections. Reported: the best of a few runs for each size and the
// ratio to the size half as large, which is about 2 when the work grows with
// the file (a little more once the file no longer fits the caches) and about
// 4 when it grows with its square. Run by hand:
//   build/release/bench/store_bench [runs]
#include "framework/runtime/ProfileDocument.h"
#include "framework/runtime/RegistryDocument.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

constexpr int Counts[] = {10'000, 20'000, 40'000, 80'000};
constexpr std::string_view Root = "HKEY_CURRENT_USER";

using Clock = std::chrono::steady_clock;

std::string RegistryText(int keys)
{
    std::string text = "REGEDIT4\n";
    for (int i = 0; i < keys; ++i) {
        text += "\n[HKEY_CURRENT_USER\\Software\\Bench\\Key" + std::to_string(i) + "]\n";
        text += "\"Form1\"=\"200,0,1,100,80,500,380\"\n";
    }
    return text;
}

std::string ProfileText(int sections)
{
    std::string text;
    for (int i = 0; i < sections; ++i)
        text += "[Section" + std::to_string(i) + "]\nForm1=200,0,1,100,80,500,380\n";
    return text;
}

// Seconds of the fastest of runs calls of work on text.
double Best(int runs, const std::string& text, const std::function<void(const std::string&)>& work)
{
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work(text);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void Report(const char* what, int runs, const std::function<std::string(int)>& make,
            const std::function<void(const std::string&)>& work)
{
    std::printf("%s\n", what);
    double previous = 0;
    for (int count : Counts) {
        const double seconds = Best(runs, make(count), work);
        std::printf("  %6d: %9.4f s", count, seconds);
        if (previous > 0)
            std::printf("   x%.1f", seconds / previous);
        std::printf("\n");
        previous = seconds;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf("best of %d runs\n", runs);

    Report("registry file: parse", runs, RegistryText, [](const std::string& text) {
        if (!TRegistryDocument::Parse(text, Root))
            std::abort();
    });
    Report("profile file: parse, list sections", runs, ProfileText, [](const std::string& text) {
        const auto document = TProfileDocument::Parse(text);
        if (!document || document->Sections().empty())
            std::abort();
    });
    return 0;
}
