// TFxRegIniFile: sections and string values under one registry key. It opens
// its key on construction with creation allowed (so even reading makes a
// missing key) and closes it when it goes; a section is a sub-key, a value a
// REG_SZ in it, and the empty section the key itself.
#pragma once

#include "framework/runtime/RegistryStore.h"

#include <string>

class TFxRegIniFile {
public:
    TFxRegIniFile(HKEY root, const std::string& keyPath);
    ~TFxRegIniFile();
    TFxRegIniFile(const TFxRegIniFile&) = delete;
    TFxRegIniFile& operator=(const TFxRegIniFile&) = delete;

    // The key could be opened (made, or on a read-only root found).
    bool IsOpen() const { return key_ != nullptr; }

    // The value's string, or defaultValue when the section or value is
    // missing. A value of another type raises "Invalid data type for '<ident>'".
    std::string ReadString(const std::string& section, const std::string& ident, const std::string& defaultValue);
    // Makes the section's sub-key ("Failed to create key <section>" when it
    // cannot) and sets the value ("Failed to set data for '<ident>'"). When
    // the registry's file is damaged, the error names it and the line.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    // Deletes the value when the section's sub-key can be opened for writing.
    void DeleteKey(const std::string& section, const std::string& ident);

private:
    HKEY root_;
    HKEY key_ = nullptr;
};
