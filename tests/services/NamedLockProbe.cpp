// A second program for the named-lock tests. It takes a lock (or starts the
// services module) and reports on standard output, then holds on until its
// standard input closes, so a test decides how long it lives.
//
//     named_lock_probe lock <name>   prints "new <path>", "exists <path>" or "failed"
//     named_lock_probe services      prints "prev 0" or "prev 1"
#include "services/FxApplication.h"
#include "services/ServicesModule.h"

#include "framework/controls/Application.h"
#include "framework/runtime/NamedMutex.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {

void HoldUntilInputCloses()
{
    std::string line;
    while (std::getline(std::cin, line)) {
    }
}

int ProbeLock(const char* name)
{
    const std::unique_ptr<TNamedMutex> lock = TNamedMutex::Create(name);
    if (lock == nullptr)
        std::printf("failed\n");
    else
        std::printf("%s %s\n", lock->AlreadyExisted() ? "exists" : "new", lock->Path().c_str());
    std::fflush(stdout);
    HoldUntilInputCloses();
    return 0;
}

int ProbeServices(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    TApplication application;
    TServicesModule services;
    std::printf("prev %d\n", ApplicationServices->PrevInstance() ? 1 : 0);
    std::fflush(stdout);
    HoldUntilInputCloses();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "lock") == 0)
        return ProbeLock(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "services") == 0)
        return ProbeServices(argc, argv);
    std::fprintf(stderr, "usage: named_lock_probe lock <name> | services\n");
    return 2;
}
