#include "services/FxIniCtrl.h"

#include "services/FxApplication.h"
#include "services/FxRegIniFile.h"

#include "framework/runtime/ConfigFolders.h"
#include "framework/runtime/ProfileFiles.h"
#include "framework/runtime/ProgramFile.h"
#include "framework/runtime/SettingsErrors.h"
#include "framework/runtime/StringResources.h"
#include "framework/runtime/UserName.h"

#include <array>
#include <vector>

namespace {

// GetPrivateProfileString's buffer: longer values are cut to 1023 characters.
constexpr DWORD ProfileBufferSize = 1024;
// Room for the user name: 63 characters and the closing zero.
constexpr DWORD UserNameBufferSize = 64;
constexpr const char* RootSectionName = "#ROOT";
constexpr const char* DefaultSectionName = "Common";

bool HasExtension(const std::string& path)
{
    const std::string name = ExtractFileName(path);
    return name.find('.') != std::string::npos;
}

} // namespace

TFxIniCtrl::TFxIniCtrl(TComponent* owner) : TFxComponent(owner)
{
    // A form component on the same form may be waiting for a store.
    NotifyInserted();
}

void TFxIniCtrl::SetAlphaCounter(bool value)
{
    if (value == alphaCounter_)
        return;
    alphaCounter_ = value;
    if (maxEntries_ > AlphaCounterMaxEntries)
        maxEntries_ = AlphaCounterMaxEntries;
    Change();
}

void TFxIniCtrl::SetMaxEntries(std::uint8_t value)
{
    if (alphaCounter_ && value > AlphaCounterMaxEntries)
        return;
    Update(maxEntries_, value);
}

void TFxIniCtrl::SetCommon(bool value)
{
    Update(common_, value);
}

void TFxIniCtrl::SetIniFile(const std::string& value)
{
    std::string name = value;
    if (!name.empty() && !HasExtension(name))
        name = ChangeFileExt(name, ".INI");
    Update(iniFile_, name);
}

void TFxIniCtrl::SetIniPrefix(TFxPathPrefix value)
{
    Update(iniPrefix_, value);
}

void TFxIniCtrl::SetNetUser(bool value)
{
    if (value == netUser_)
        return;
    netUser_ = value;
    if (netUser_)
        user_ = GetNetUserName();
    Change();
}

void TFxIniCtrl::SetUser(const std::string& value)
{
    Update(user_, value);
}

void TFxIniCtrl::SetRegPath(const std::string& value)
{
    Update(regPath_, value);
}

void TFxIniCtrl::SetRegRoot(TFxRegRootKey value)
{
    Update(regRoot_, value);
}

void TFxIniCtrl::SetTarget(TFxIniTarget value)
{
    if (value == target_)
        return;
    target_ = value;
    effectiveTarget_ = value == itAuto ? itRegistry : value;
    Change();
}

HKEY TFxIniCtrl::RootKey(TFxRegRootKey root)
{
    switch (root) {
    case rpClassesRoot:
        return HKEY_CLASSES_ROOT;
    case rpCurrentUser:
        return HKEY_CURRENT_USER;
    case rpLocalMachine:
        return HKEY_LOCAL_MACHINE;
    case rpUsers:
        return HKEY_USERS;
    case rpCurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case rpDynData:
        return HKEY_DYN_DATA;
    }
    return HKEY_CURRENT_USER;
}

std::optional<std::string> TFxIniCtrl::IniFilePath()
{
    if (iniFile_.empty())
        iniFile_ = ChangeFileExt(ProgramFilePath(), ".INI");
    if (iniPrefix_ == ppFixed)
        return iniFile_;
    const TConfigFolderKind kinds[] = {cfWindows, cfSystem, cfProgram};
    std::string folder = ConfigFolder(kinds[iniPrefix_]);
    // Without its folder the name would land in the root folder.
    if (folder.empty())
        return std::nullopt;
    // The folder's own path separator closes it, as '\' closes a registry path.
    if (folder.back() != '/')
        folder += '/';
    return folder + ExtractFileName(iniFile_);
}

std::string TFxIniCtrl::GetIniFileName()
{
    const std::optional<std::string> path = IniFilePath();
    return path ? *path : ExtractFileName(iniFile_);
}

std::string TFxIniCtrl::GetRegKey() const
{
    if (IsBlank(regPath_))
        return ApplicationServices != nullptr ? ApplicationServices->DefaultRegPath() : std::string("Software\\");
    return WithBackslash(regPath_);
}

std::string TFxIniCtrl::GetSectionName(const std::string& name)
{
    if (IsBlank(name))
        return IsBlank(lastSection_) ? std::string(DefaultSectionName) : lastSection_;
    std::string section;
    if (effectiveTarget_ == itIniFile) {
        if (common_)
            section = name;
        else
            section = (netUser_ ? GetNetUserName() : user_) + "." + name;
    } else {
        section = name == RootSectionName ? std::string() : name;
    }
    lastSection_ = section;
    return section;
}

std::string TFxIniCtrl::GetNetUserName()
{
    std::array<char, UserNameBufferSize> buffer{};
    DWORD size = UserNameBufferSize;
    if (GetUserName(buffer.data(), &size) == 0)
        return LoadStr(SUnknownUserName);
    return std::string(buffer.data());
}

std::string TFxIniCtrl::ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue)
{
    if (effectiveTarget_ == itIniFile) {
        const std::optional<std::string> file = IniFilePath();
        const std::string name = GetSectionName(section);
        if (!file)
            return defaultValue;
        std::array<char, ProfileBufferSize> buffer{};
        const DWORD length = GetPrivateProfileString(name.c_str(), ident.c_str(), defaultValue.c_str(),
                                                     buffer.data(), ProfileBufferSize, file->c_str());
        return std::string(buffer.data(), length);
    }
    TFxRegIniFile registry(RootKey(regRoot_), GetRegKey());
    return registry.ReadString(GetSectionName(section), ident, defaultValue);
}

void TFxIniCtrl::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    if (effectiveTarget_ == itIniFile) {
        const std::optional<std::string> file = IniFilePath();
        const std::string name = GetSectionName(section);
        if (!file || WritePrivateProfileString(name.c_str(), ident.c_str(), value.c_str(), file->c_str()) == 0)
            RaiseIniWriteError(GetIniFileName());
        return;
    }
    TFxRegIniFile registry(RootKey(regRoot_), GetRegKey());
    registry.WriteString(GetSectionName(section), ident, value);
}

void TFxIniCtrl::EraseValue(const std::string& section, const std::string& ident)
{
    if (effectiveTarget_ == itIniFile) {
        const std::optional<std::string> file = IniFilePath();
        const std::string name = GetSectionName(section);
        // Erasing from a file that cannot be written fails as loudly as writing.
        if (!file || WritePrivateProfileString(name.c_str(), ident.c_str(), nullptr, file->c_str()) == 0)
            RaiseIniWriteError(GetIniFileName());
        return;
    }
    TFxRegIniFile registry(RootKey(regRoot_), GetRegKey());
    registry.DeleteKey(GetSectionName(section), ident);
}
