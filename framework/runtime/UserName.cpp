#include "framework/runtime/UserName.h"

#include <pwd.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <vector>

namespace {

struct TSource {
    std::mutex Lock;
    std::function<std::optional<std::string>()> Replacement;
};

TSource& Source()
{
    static TSource source;
    return source;
}

std::optional<std::string> PasswordDatabaseName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_name == nullptr || found->pw_name[0] == '\0')
        return std::nullopt;
    return std::string(found->pw_name);
}

} // namespace

BOOL GetUserName(char* buffer, DWORD* size)
{
    if (size == nullptr)
        return 0;
    std::optional<std::string> name;
    {
        TSource& source = Source();
        std::lock_guard guard(source.Lock);
        name = source.Replacement ? source.Replacement() : PasswordDatabaseName();
    }
    if (!name)
        return 0;
    const std::size_t needed = name->size() + 1;
    if (buffer == nullptr || *size < needed) {
        *size = static_cast<DWORD>(needed);
        return 0;
    }
    std::memcpy(buffer, name->c_str(), needed);
    *size = static_cast<DWORD>(needed);
    return 1;
}

void SetUserNameSource(std::function<std::optional<std::string>()> source)
{
    TSource& holder = Source();
    std::lock_guard guard(holder.Lock);
    holder.Replacement = std::move(source);
}
