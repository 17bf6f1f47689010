// The program dates-converter from start to end, apart from main() so that
// the start-up benchmark runs exactly the program's own start.
#pragma once

#include <functional>

// Runs the converter until its window closes; returns the exit code (0).
// started, when given, runs once the window exists, just before the message loop.
int RunConverter(char* programName, const std::function<void()>& started = {});
