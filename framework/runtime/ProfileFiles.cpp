#include "framework/runtime/ProfileFiles.h"

#include "framework/runtime/AtomicFile.h"
#include "framework/runtime/ConfigFolders.h"
#include "framework/runtime/ProfileDocument.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr const char* DefaultProfileName = "win.ini";

// The document of a file; empty for a missing or unreadable file.
TProfileDocument ReadDocument(const std::string& path)
{
    const TSettingsFileText file = ReadSettingsFile(path);
    if (file.State != sfRead)
        return {};
    std::optional<TProfileDocument> document = TProfileDocument::Parse(file.Text);
    return document ? std::move(*document) : TProfileDocument();
}

DWORD CopyValue(const std::string& value, char* buffer, DWORD size)
{
    const std::size_t count = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

// Names each ending in a zero, then one more zero. A list that does not fit
// is cut to size - 2 characters (the cut may fall inside a name) and closed
// with two zeros, and size - 2 is returned.
DWORD CopyList(const std::vector<std::string>& names, char* buffer, DWORD size)
{
    std::string list;
    for (const std::string& name : names) {
        list += name;
        list += '\0';
    }
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.c_str(), list.size() + 1);
        return static_cast<DWORD>(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

bool InWindowsFolder(const std::string& path)
{
    const std::string folder = ConfigFolder(cfWindows);
    return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/' && path.find('/', folder.size() + 1) == std::string::npos;
}

} // namespace

std::string ProfileFilePath(const char* fileName)
{
    const std::string name = fileName != nullptr ? fileName : DefaultProfileName;
    if (name.find('/') != std::string::npos)
        return name;
    const std::string folder = ConfigFolder(cfWindows);
    return folder.empty() ? std::string() : folder + "/" + name;
}

DWORD GetPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                              DWORD size, const char* fileName)
{
    if (buffer == nullptr || size == 0)
        return 0;
    const std::string path = ProfileFilePath(fileName);
    const TProfileDocument document = path.empty() ? TProfileDocument() : ReadDocument(path);
    if (section == nullptr)
        return CopyList(document.Sections(), buffer, size);
    if (key == nullptr)
        return CopyList(document.Keys(section).value_or(std::vector<std::string>{}), buffer, size);
    const std::optional<std::string> value = document.Value(section, key);
    return CopyValue(value ? *value : std::string(defaultValue != nullptr ? defaultValue : ""), buffer, size);
}

BOOL WritePrivateProfileString(const char* section, const char* key, const char* value, const char* fileName)
{
    if (section == nullptr)
        return 0;
    const std::string path = ProfileFilePath(fileName);
    if (path.empty())
        return 0;
    const bool erasing = key == nullptr || value == nullptr;
    // Erasing from a file (or folder) that is not there has nothing to do.
    if (erasing && ReadSettingsFile(path).State == sfMissing)
        return 1;
    if (!erasing && InWindowsFolder(path) && !EnsureWindowsFolder())
        return 0;

    bool accepted = true;
    const auto change = [&](const TSettingsFileText& file) -> std::optional<std::string> {
        std::optional<TProfileDocument> document;
        if (file.State == sfMissing) {
            if (erasing)
                return std::nullopt; // nothing to erase, and no file to make
            document.emplace();
        } else if (file.State == sfRead) {
            document = TProfileDocument::Parse(file.Text);
        }
        if (!document) {
            // Not a profile file: never replaced by one.
            accepted = false;
            return std::nullopt;
        }
        bool changed = false;
        if (key == nullptr)
            changed = document->EraseSection(section);
        else if (value == nullptr)
            changed = document->EraseKey(section, key);
        else if (document->Value(section, key) != std::optional<std::string>(value) || file.State == sfMissing) {
            accepted = document->SetValue(section, key, value);
            changed = accepted;
        }
        if (!changed)
            return std::nullopt;
        return document->Text();
    };
    const TSettingsUpdate written = UpdateSettingsFile(path, change);
    return written == suDone && accepted ? 1 : 0;
}
