// The text form of one root key of the registry store, in the REGEDIT4
// layout a person can read and edit:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Dates Converter\Common]
//   "Form1"="200,0,1,100,80,500,380"
//   "Count"=dword:00000010
//   "Picture"=hex:01,ff,7e
//   "Lines"=hex(1):6f,6e,65,0a,74,77,6f
//   @="the key's default value"
//
// A key line names a key by its full path from the root; the value lines
// below it, up to the next key line, belong to it. Strings are in double
// quotes with '\' and '"' escaped by a backslash; a string that holds a line
// break or a zero byte, and any type without a form of its own, is written as
// hex(<type>) bytes. Long hex lines may be continued with a '\' at the end.
// Lines that begin with ';' are comments; they are not kept when the file is
// written again. Names of keys and values match without regard to ASCII case.
//
// Anything else — another header, a key of another root, a deletion line
// ("[-…]", "=-"), a value before the first key, a broken string or hex list —
// makes the text not a registry file: Parse refuses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

inline constexpr std::size_t MaxRegistryLineLength = (1u << 20) + 4096;

struct TRegistryValue {
    std::string Name;  // empty: the key's default value ("@")
    std::uint32_t Type = 0;
    std::string Data;  // the value's bytes; a string without its closing zero
    friend bool operator==(const TRegistryValue&, const TRegistryValue&) = default;
};

struct TRegistryKey {
    std::string Path;  // from the root, parts joined by '\'; empty for the root itself
    std::vector<TRegistryValue> Values;
    friend bool operator==(const TRegistryKey&, const TRegistryKey&) = default;
};

// Where a text stops being a registry file, and why.
struct TRegistryFault {
    std::size_t Line = 0; // from 1
    std::string Reason;   // such as "a value before the first key"
};

class TRegistryDocument {
public:
    TRegistryDocument() = default;
    // rootName: "HKEY_CURRENT_USER" and so on; every key line must lie under
    // it. A text that is not a registry file gives nothing, and where it
    // failed in fault when fault is given.
    static std::optional<TRegistryDocument> Parse(std::string_view text, std::string_view rootName,
                                                  TRegistryFault* fault = nullptr);
    std::string Text(std::string_view rootName) const;

    // Keys in file order, each once (a key listed twice is merged into the
    // first listing, later values replacing earlier ones).
    const std::vector<TRegistryKey>& Keys() const { return keys_; }

    // A key exists when it is listed or lies above a listed key.
    bool KeyExists(std::string_view path) const;
    // The listed key, or nullptr.
    const TRegistryKey* FindKey(std::string_view path) const;
    // The listed key, listing it (at the end) when needed.
    TRegistryKey& ListKey(std::string_view path);

    const TRegistryValue* FindValue(std::string_view path, std::string_view name) const;
    // Sets or replaces a value of a key, listing the key when needed.
    void SetValue(std::string_view path, TRegistryValue value);
    // False when there was no such value.
    bool DeleteValue(std::string_view path, std::string_view name);

private:
    // Names folded to one case, so that a lookup is one hash away whatever
    // the size of the file.
    using TIndex = std::unordered_map<std::string, std::size_t>;

    static std::optional<TRegistryDocument> ParseLines(std::string_view text, std::string_view rootName,
                                                       TRegistryFault& fault);
    std::size_t ListKeyAt(std::string_view path);
    void SetValueAt(std::size_t key, TRegistryValue value);
    std::optional<std::size_t> FindKeyAt(std::string_view path) const;
    std::optional<std::size_t> FindValueAt(std::size_t key, std::string_view name) const;

    std::vector<TRegistryKey> keys_;
    TIndex keyIndex_;                // folded path -> position in keys_
    std::vector<TIndex> valueIndex_; // per key: folded value name -> position in its Values
};

// A path's parts can be written in a key line: none empty, none with a line
// break or a zero byte.
bool IsRegistryPath(std::string_view path);
