#include "TempFolders.h"

#include "framework/runtime/ConfigFolders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {
std::string Root;
}

std::string TestWindowsFolder()
{
    return Root + "/config/dates-converter";
}

std::string TestSystemFolder()
{
    return Root + "/system";
}

void MakeTestFolders()
{
    char pattern[] = "/tmp/dc-store-test.XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("no temporary folder");
    Root = pattern;
    // Everything the store could reach goes here: $XDG_CONFIG_HOME as well.
    setenv("XDG_CONFIG_HOME", (Root + "/config").c_str(), 1);
    OverrideConfigFolder(cfSystem, TestSystemFolder());
    OverrideConfigFolder(cfProgram, Root + "/program");
    std::filesystem::create_directories(TestSystemFolder());
    std::filesystem::create_directories(Root + "/program");
}

void RemoveTestFolders()
{
    if (!Root.empty())
        std::filesystem::remove_all(Root);
}

void EmptyTestFolders()
{
    std::filesystem::remove_all(Root + "/config");
    std::filesystem::remove_all(TestSystemFolder());
    std::filesystem::create_directories(TestSystemFolder());
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteWholeFile(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

bool FileExists(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

unsigned ModeOf(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}
