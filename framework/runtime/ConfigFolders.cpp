#include "framework/runtime/ConfigFolders.h"

#include "framework/runtime/ProgramFile.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

constexpr const char* ProgramFolderName = "dates-converter";
constexpr const char* SystemFolderPath = "/etc/xdg/dates-converter";

struct TOverrides {
    std::mutex Lock;
    std::array<std::string, 3> Paths;
};

TOverrides& Overrides()
{
    static TOverrides overrides;
    return overrides;
}

bool IsAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string UserConfigFolder()
{
    std::string base;
    // A relative $XDG_CONFIG_HOME is invalid and must be ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); IsAbsolute(config)) {
        base = config;
    } else {
        const std::string home = HomeFolder();
        if (home.empty())
            return {};
        base = home + "/.config";
    }
    return WithoutTrailingSlashes(base) + "/" + ProgramFolderName;
}

std::string ProgramFolder()
{
    const std::string program = ProgramFilePath();
    const std::size_t slash = program.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : program.substr(0, slash);
}

unsigned CopyFolder(const std::string& path, char* buffer, unsigned size)
{
    if (path.empty())
        return 0;
    if (buffer == nullptr || path.size() + 1 > size)
        return static_cast<unsigned>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<unsigned>(path.size());
}

} // namespace

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); IsAbsolute(home))
        return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        IsAbsolute(found->pw_dir))
        return found->pw_dir;
    return {};
}

std::string ConfigFolder(TConfigFolderKind kind)
{
    {
        TOverrides& overrides = Overrides();
        std::lock_guard guard(overrides.Lock);
        const std::string& replaced = overrides.Paths.at(static_cast<std::size_t>(kind));
        if (!replaced.empty())
            return replaced;
    }
    switch (kind) {
    case cfWindows:
        return UserConfigFolder();
    case cfSystem:
        return SystemFolderPath;
    case cfProgram:
        return ProgramFolder();
    }
    return {};
}

void OverrideConfigFolder(TConfigFolderKind kind, const std::string& path)
{
    TOverrides& overrides = Overrides();
    std::lock_guard guard(overrides.Lock);
    overrides.Paths.at(static_cast<std::size_t>(kind)) = WithoutTrailingSlashes(path);
}

unsigned GetWindowsDirectory(char* buffer, unsigned size)
{
    return CopyFolder(ConfigFolder(cfWindows), buffer, size);
}

unsigned GetSystemDirectory(char* buffer, unsigned size)
{
    return CopyFolder(ConfigFolder(cfSystem), buffer, size);
}

bool EnsureWindowsFolder()
{
    const std::string folder = ConfigFolder(cfWindows);
    if (folder.empty() || folder[0] != '/')
        return false;
    // Each missing step is made private; steps that exist are left as they are.
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string step = folder.substr(0, slash);
        if (mkdir(step.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat status {};
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
