#include "framework/runtime/RegistryStore.h"

#include "framework/runtime/AtomicFile.h"
#include "framework/runtime/ConfigFolders.h"
#include "framework/runtime/RegistryDocument.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_set>

// An opened key: its root and its path from the root.
struct TRegistryKeyHandle {
    HKEY Root;
    std::string Path;
    REGSAM Access;
};

namespace {

constexpr REGSAM WriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
// The classic limits of a key's name, a key's depth and a value's name.
constexpr std::size_t MaxKeyPartLength = 255;
constexpr std::size_t MaxKeyDepth = 512;
constexpr std::size_t MaxValueNameLength = 16383;

struct TRoot {
    std::uintptr_t Value; // the predefined handle's number
    HKEY Key() const { return reinterpret_cast<HKEY>(Value); }
    const char* Name;
    bool UserWide; // kept in the Windows folder and writable
};


const TRoot Roots[] = {
    {0x80000000, "HKEY_CLASSES_ROOT", false},
    {0x80000001, "HKEY_CURRENT_USER", true},
    {0x80000002, "HKEY_LOCAL_MACHINE", false},
    {0x80000003, "HKEY_USERS", false},
    {0x80000005, "HKEY_CURRENT_CONFIG", false},
    {0x80000006, "HKEY_DYN_DATA", false},
};

const TRoot* FindRoot(HKEY key)
{
    for (const TRoot& root : Roots)
        if (root.Value == reinterpret_cast<std::uintptr_t>(key))
            return &root;
    return nullptr;
}

// The handles given out and not closed yet; anything else is refused rather
// than followed.
struct THandles {
    std::mutex Lock;
    std::unordered_set<HKEY> Open;
};

THandles& Handles()
{
    static THandles handles;
    return handles;
}

// Where a handle points: a root and a path, or nothing for a bad handle.
struct TPlace {
    const TRoot* Root = nullptr;
    std::string Path;
    REGSAM Access = 0;
};

std::optional<TPlace> Resolve(HKEY key)
{
    if (const TRoot* root = FindRoot(key))
        return TPlace{root, {}, KEY_ALL_ACCESS};
    THandles& handles = Handles();
    std::lock_guard guard(handles.Lock);
    if (key == nullptr || handles.Open.count(key) == 0)
        return std::nullopt;
    return TPlace{FindRoot(key->Root), key->Path, key->Access};
}

HKEY NewHandle(const TPlace& place, REGSAM access)
{
    HKEY handle = new TRegistryKeyHandle{place.Root->Key(), place.Path, access};
    THandles& handles = Handles();
    std::lock_guard guard(handles.Lock);
    handles.Open.insert(handle);
    return handle;
}

std::string FilePath(const TRoot& root)
{
    const std::string folder = ConfigFolder(root.UserWide ? cfWindows : cfSystem);
    return folder.empty() ? std::string() : folder + "/" + root.Name + ".reg";
}

// The sub-key's path below base, checked: a path without empty parts, a '\'
// at the end allowed, within the limits of a part's length and of the depth.
std::optional<std::string> Join(const std::string& base, const char* subKey)
{
    std::string sub = subKey != nullptr ? subKey : "";
    if (!sub.empty() && sub.front() == '\\')
        return std::nullopt;
    while (!sub.empty() && sub.back() == '\\')
        sub.pop_back();
    if (!IsRegistryPath(sub))
        return std::nullopt;
    const std::string path = base.empty() ? sub : sub.empty() ? base : base + "\\" + sub;
    std::size_t depth = 0;
    for (std::size_t start = 0; start < path.size(); ++depth) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end - start > MaxKeyPartLength)
            return std::nullopt;
        start = end + 1;
    }
    if (depth > MaxKeyDepth)
        return std::nullopt;
    return path;
}

bool UsableValueName(const std::string& name)
{
    return name.size() <= MaxValueNameLength &&
           name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

// The root's document: empty when the file is missing or unreadable.
TRegistryDocument ReadDocument(const TRoot& root)
{
    const std::string path = FilePath(root);
    if (path.empty())
        return {};
    const TSettingsFileText file = ReadSettingsFile(path);
    if (file.State != sfRead)
        return {};
    std::optional<TRegistryDocument> document = TRegistryDocument::Parse(file.Text, root.Name);
    return document ? std::move(*document) : TRegistryDocument();
}

// Reads, changes and rewrites the root's file under its lock. change returns
// false when it has nothing to write; it may set result to an error of its own.
LONG ChangeDocument(const TRoot& root, const std::function<bool(TRegistryDocument&, LONG&)>& change)
{
    if (!root.UserWide)
        return ERROR_ACCESS_DENIED;
    const std::string path = FilePath(root);
    if (path.empty() || !EnsureWindowsFolder())
        return ERROR_WRITE_FAULT;
    LONG result = ERROR_SUCCESS;
    const auto rewrite = [&](const TSettingsFileText& file) -> std::optional<std::string> {
        std::optional<TRegistryDocument> document;
        if (file.State == sfMissing)
            document.emplace();
        else if (file.State == sfRead)
            document = TRegistryDocument::Parse(file.Text, root.Name);
        if (!document) {
            result = ERROR_BADDB;
            return std::nullopt;
        }
        if (!change(*document, result))
            return std::nullopt;
        return document->Text(root.Name);
    };
    const TSettingsUpdate written = UpdateSettingsFile(path, rewrite);
    if (result != ERROR_SUCCESS)
        return result;
    switch (written) {
    case suDone:
        return ERROR_SUCCESS;
    case suBusy:
        return ERROR_LOCK_VIOLATION;
    case suReadOnly:
        return ERROR_ACCESS_DENIED;
    case suTooLarge:
        return ERROR_NOT_ENOUGH_QUOTA;
    case suFailed:
        break;
    }
    return ERROR_WRITE_FAULT;
}

} // namespace

LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD, REGSAM desired, PHKEY result)
{
    if (result == nullptr)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const std::optional<TPlace> place = Resolve(key);
    if (!place)
        return ERROR_INVALID_HANDLE;
    const std::optional<std::string> path = Join(place->Path, subKey);
    if (!path)
        return ERROR_BAD_PATHNAME;
    if ((desired & WriteRights) != 0 && !place->Root->UserWide)
        return ERROR_ACCESS_DENIED;
    if (!ReadDocument(*place->Root).KeyExists(*path))
        return ERROR_FILE_NOT_FOUND;
    *result = NewHandle({place->Root, *path, desired}, desired);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD, char*, DWORD, REGSAM desired, void*, PHKEY result,
                    DWORD* disposition)
{
    if (result == nullptr)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const std::optional<TPlace> place = Resolve(key);
    if (!place)
        return ERROR_INVALID_HANDLE;
    const std::optional<std::string> path = Join(place->Path, subKey);
    if (!path)
        return ERROR_BAD_PATHNAME;

    bool created = false;
    if (!place->Root->UserWide) {
        // Machine-wide: what exists may be read; nothing is made.
        if ((desired & WriteRights) != 0 || !ReadDocument(*place->Root).KeyExists(*path))
            return ERROR_ACCESS_DENIED;
    } else if (!ReadDocument(*place->Root).KeyExists(*path)) {
        const LONG status = ChangeDocument(*place->Root, [&](TRegistryDocument& document, LONG&) {
            // Someone may have made it since we looked.
            if (document.KeyExists(*path))
                return false;
            document.ListKey(*path);
            created = true;
            return true;
        });
        if (status != ERROR_SUCCESS)
            return status;
    }
    if (disposition != nullptr)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandle({place->Root, *path, desired}, desired);
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize)
{
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr))
        return ERROR_INVALID_PARAMETER;
    const std::optional<TPlace> place = Resolve(key);
    if (!place)
        return ERROR_INVALID_HANDLE;
    if (FindRoot(key) == nullptr && (place->Access & KEY_QUERY_VALUE) == 0)
        return ERROR_ACCESS_DENIED;
    const TRegistryDocument document = ReadDocument(*place->Root);
    const TRegistryValue* value = document.FindValue(place->Path, valueName != nullptr ? valueName : "");
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    const bool text = value->Type == REG_SZ || value->Type == REG_EXPAND_SZ;
    const std::size_t needed = value->Data.size() + (text ? 1 : 0);
    if (type != nullptr)
        *type = value->Type;
    if (dataSize == nullptr)
        return ERROR_SUCCESS;
    const DWORD room = *dataSize;
    *dataSize = static_cast<DWORD>(needed);
    if (data == nullptr)
        return ERROR_SUCCESS;
    if (room < needed)
        return ERROR_MORE_DATA;
    std::memcpy(data, value->Data.data(), value->Data.size());
    if (text)
        data[value->Data.size()] = 0;
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY key, const char* valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize)
{
    const std::optional<TPlace> place = Resolve(key);
    if (!place)
        return ERROR_INVALID_HANDLE;
    const std::string name = valueName != nullptr ? valueName : "";
    if (!UsableValueName(name) || (data == nullptr && dataSize != 0) || dataSize > MaxRegistryValueSize)
        return ERROR_INVALID_PARAMETER;
    if (type == REG_DWORD && dataSize != 4)
        return ERROR_INVALID_PARAMETER;
    if (!place->Root->UserWide || (FindRoot(key) == nullptr && (place->Access & KEY_SET_VALUE) == 0))
        return ERROR_ACCESS_DENIED;
    std::string bytes(reinterpret_cast<const char*>(data), dataSize);
    if (type == REG_SZ || type == REG_EXPAND_SZ)
        while (!bytes.empty() && bytes.back() == '\0')
            bytes.pop_back();
    return ChangeDocument(*place->Root, [&](TRegistryDocument& document, LONG&) {
        const TRegistryValue* current = document.FindValue(place->Path, name);
        if (current != nullptr && current->Type == type && current->Data == bytes)
            return false;
        document.SetValue(place->Path, {name, type, bytes});
        return true;
    });
}

LONG RegDeleteValue(HKEY key, const char* valueName)
{
    const std::optional<TPlace> place = Resolve(key);
    if (!place)
        return ERROR_INVALID_HANDLE;
    if (!place->Root->UserWide || (FindRoot(key) == nullptr && (place->Access & KEY_SET_VALUE) == 0))
        return ERROR_ACCESS_DENIED;
    const std::string name = valueName != nullptr ? valueName : "";
    if (ReadDocument(*place->Root).FindValue(place->Path, name) == nullptr)
        return ERROR_FILE_NOT_FOUND;
    return ChangeDocument(*place->Root, [&](TRegistryDocument& document, LONG& result) {
        if (!document.DeleteValue(place->Path, name)) {
            result = ERROR_FILE_NOT_FOUND;
            return false;
        }
        return true;
    });
}

LONG RegCloseKey(HKEY key)
{
    if (FindRoot(key) != nullptr)
        return ERROR_SUCCESS;
    THandles& handles = Handles();
    {
        std::lock_guard guard(handles.Lock);
        if (key == nullptr || handles.Open.erase(key) == 0)
            return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}

std::string RegistryRootName(HKEY root)
{
    const TRoot* found = FindRoot(root);
    return found != nullptr ? found->Name : std::string();
}

std::string RegistryFilePath(HKEY key)
{
    const std::optional<TPlace> place = Resolve(key);
    return place ? FilePath(*place->Root) : std::string();
}

std::string RegistryFileFault(HKEY key)
{
    const std::optional<TPlace> place = Resolve(key);
    const std::string path = place ? FilePath(*place->Root) : std::string();
    if (path.empty())
        return {};
    const TSettingsFileText file = ReadSettingsFile(path);
    if (file.State == sfRefused)
        return path + ": not a plain file we may read";
    if (file.State != sfRead)
        return {};
    TRegistryFault fault;
    if (TRegistryDocument::Parse(file.Text, place->Root->Name, &fault))
        return {};
    return path + ", line " + std::to_string(fault.Line) + ": " + fault.Reason;
}
