// The registry calls on a store of our own: one text file per root key
// (RegistryDocument.h gives the layout), named after the root:
//
//   HKEY_CURRENT_USER      <Windows folder>/HKEY_CURRENT_USER.reg  (read and written)
//   the machine-wide roots <system folder>/<ROOT NAME>.reg         (read only)
//
// (ConfigFolders.h names the folders.) Every call reads the file afresh, and
// every change rewrites it atomically under the folder's lock (AtomicFile.h),
// so two programs each leave a whole file and the last writer's value wins.
// A file that is not a registry file reads as an empty registry and is never
// replaced: changes to it fail with ERROR_BADDB.
//
// Calls return the classic error codes. Key paths are parts joined by '\';
// a '\' at the end is allowed, one at the start or an empty part is not. As
// in the classic registry a part has at most 255 characters and a key lies at
// most 512 levels deep, so every key line of the file stays short enough to
// be read back. A change that would make the file larger than a reader takes
// (AtomicFile.h) fails and leaves the file as it was.
#pragma once

#include <cstdint>
#include <string>

using DWORD = std::uint32_t;
using LONG = std::int32_t;
using BYTE = std::uint8_t;
using REGSAM = DWORD;

struct TRegistryKeyHandle;
using HKEY = TRegistryKeyHandle*;
using PHKEY = HKEY*;

// The predefined root keys.
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t{0x80000003});
inline HKEY const HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(std::uintptr_t{0x80000005});
inline HKEY const HKEY_DYN_DATA = reinterpret_cast<HKEY>(std::uintptr_t{0x80000006});

enum : LONG {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,   // no such key or value
    ERROR_ACCESS_DENIED = 5,    // a machine-wide root, a key opened without the right, a read-only file
    ERROR_INVALID_HANDLE = 6,
    ERROR_WRITE_FAULT = 29,     // the file could not be written
    ERROR_LOCK_VIOLATION = 33,  // another program kept the file's folder locked too long
    ERROR_INVALID_PARAMETER = 87,
    ERROR_BAD_PATHNAME = 161,
    ERROR_MORE_DATA = 234,      // the buffer is too small; the size needed is returned
    ERROR_BADDB = 1009,         // the file is not a registry file and is left alone
    ERROR_NOT_ENOUGH_QUOTA = 1816 // the file would grow larger than a reader takes
};

enum : DWORD {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7
};

enum : REGSAM {
    KEY_QUERY_VALUE = 0x0001,
    KEY_SET_VALUE = 0x0002,
    KEY_CREATE_SUB_KEY = 0x0004,
    KEY_ENUMERATE_SUB_KEYS = 0x0008,
    KEY_NOTIFY = 0x0010,
    KEY_READ = 0x20019,
    KEY_WRITE = 0x20006,
    KEY_ALL_ACCESS = 0xF003F
};

enum : DWORD { REG_OPTION_NON_VOLATILE = 0 };
enum : DWORD { REG_CREATED_NEW_KEY = 1, REG_OPENED_EXISTING_KEY = 2 };

// Values are at most this large, so every value fits a line of the file.
inline constexpr DWORD MaxRegistryValueSize = 256u * 1024u;

// Opens an existing key below key (subKey nullptr or empty: key itself again).
LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM desired, PHKEY result);
// Opens the key, making it (and any missing key above it) when needed;
// disposition (may be nullptr) tells which. A new key is written to the file
// at once. On a machine-wide root only an existing key opens, and only for reading.
LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD reserved, char* keyClass, DWORD options, REGSAM desired,
                    void* security, PHKEY result, DWORD* disposition);
// A value's type and data. With data nullptr only the size is told; a buffer
// smaller than *dataSize needs gives ERROR_MORE_DATA and the size needed.
// Strings come with a closing zero, counted in the size.
LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);
// Sets a value (valueName nullptr or empty: the key's default value). A
// string's closing zeros are not stored; a REG_DWORD takes exactly 4 bytes.
LONG RegSetValueEx(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LONG RegDeleteValue(HKEY key, const char* valueName);
// Closes an opened key; closing a root key does nothing and succeeds.
LONG RegCloseKey(HKEY key);

// The root's name ("HKEY_CURRENT_USER"), empty for anything else.
std::string RegistryRootName(HKEY root);
// The file a root key (or any key opened under it) is kept in; empty when
// there is none (no such key, no folder).
std::string RegistryFilePath(HKEY key);
// Why that file is not a registry file, as "<file>, line <n>: <reason>"
// (or "<file>: <reason>" for what is not a file we may read at all); empty
// when it reads as one, is missing, or there is none.
std::string RegistryFileFault(HKEY key);
