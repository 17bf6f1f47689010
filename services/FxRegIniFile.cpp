#include "services/FxRegIniFile.h"

#include "framework/runtime/SettingsErrors.h"

#include <vector>

namespace {

// Closes a key it holds when it goes.
class TKeyScope {
public:
    TKeyScope() = default;
    ~TKeyScope()
    {
        if (key != nullptr)
            RegCloseKey(key);
    }
    TKeyScope(const TKeyScope&) = delete;
    TKeyScope& operator=(const TKeyScope&) = delete;
    HKEY key = nullptr;
};

} // namespace

TFxRegIniFile::TFxRegIniFile(HKEY root, const std::string& keyPath) : root_(root)
{
    if (RegCreateKeyEx(root, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                       nullptr) == ERROR_SUCCESS)
        return;
    // A machine-wide root is read only: what exists there can still be read.
    key_ = nullptr;
    if (RegOpenKeyEx(root, keyPath.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
        key_ = nullptr;
}

TFxRegIniFile::~TFxRegIniFile()
{
    if (key_ != nullptr)
        RegCloseKey(key_);
}

std::string TFxRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                      const std::string& defaultValue)
{
    if (key_ == nullptr)
        return defaultValue;
    TKeyScope sub;
    if (RegOpenKeyEx(key_, section.c_str(), 0, KEY_READ, &sub.key) != ERROR_SUCCESS)
        return defaultValue;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueEx(sub.key, ident.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultValue;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        RaiseInvalidDataType(ident);
    // Another program may change the value between the two calls: ask again
    // with the size it then needs.
    std::vector<BYTE> data(size + 1);
    for (;;) {
        DWORD room = static_cast<DWORD>(data.size());
        const LONG status = RegQueryValueEx(sub.key, ident.c_str(), nullptr, &type, data.data(), &room);
        if (status == ERROR_MORE_DATA) {
            data.resize(room + 1);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return defaultValue;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            RaiseInvalidDataType(ident);
        // The text up to its closing zero.
        std::size_t length = 0;
        while (length < room && data[length] != 0)
            ++length;
        return std::string(reinterpret_cast<const char*>(data.data()), length);
    }
}

void TFxRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    TKeyScope sub;
    if (key_ == nullptr || RegCreateKeyEx(key_, section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                          nullptr, &sub.key, nullptr) != ERROR_SUCCESS)
        RaiseCreateKeyError(section, RegistryFileFault(root_));
    if (RegSetValueEx(sub.key, ident.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        RaiseSetDataError(ident, RegistryFileFault(root_));
}

void TFxRegIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    TKeyScope sub;
    if (key_ == nullptr || RegOpenKeyEx(key_, section.c_str(), 0, KEY_ALL_ACCESS, &sub.key) != ERROR_SUCCESS)
        return;
    RegDeleteValue(sub.key, ident.c_str());
}
