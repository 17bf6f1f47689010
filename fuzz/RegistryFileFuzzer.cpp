// Registry files as the store reads them: any bytes either are refused, with
// the line where they stop being a registry file, or parse into keys and
// values that write out and parse back the same, and the written text is
// stable. Through the registry calls on a real file: a key path of any
// depth and part length is either refused whole or made and read back, and a
// value at the size limit is either refused or stored so that the file still
// reads.
#include "ScratchFolder.h"

#include "framework/runtime/RegistryDocument.h"
#include "framework/runtime/RegistryStore.h"

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view Root = "HKEY_CURRENT_USER";
// The store's limits of a key path, as the classic registry has them.
constexpr std::size_t MaxKeyPartLength = 255;
constexpr std::size_t MaxKeyDepth = 512;

std::uint8_t ByteAt(std::string_view text, std::size_t index)
{
    return index < text.size() ? static_cast<std::uint8_t>(text[index]) : 0;
}

std::string UserFile()
{
    return ScratchFolder() + "/HKEY_CURRENT_USER.reg";
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void CheckFault(std::string_view text, const TRegistryFault& fault)
{
    const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (fault.Line < 1 || fault.Line > lines || fault.Reason.empty())
        std::abort();
}

// A key path from the input: one part of the input's bytes (those a part may
// hold) as long as the input chooses, repeated as deep as it chooses, both
// reaching past the store's limits.
void CheckKeyPath(std::string_view text)
{
    std::string part;
    for (char c : text)
        if (c != '\\' && c != '\r' && c != '\n' && c != '\0')
            part += c;
    if (part.empty())
        part = "k";
    const std::size_t length = 1 + (ByteAt(text, 1) | ByteAt(text, 2) << 8) % 300;
    while (part.size() < length)
        part += part;
    part.resize(length);
    const std::size_t depth = 1 + (ByteAt(text, 3) | ByteAt(text, 4) << 8) % 600;
    std::string path = part;
    for (std::size_t i = 1; i < depth; ++i)
        path.append("\\").append(part);

    unlink(UserFile().c_str());
    HKEY key = nullptr;
    const LONG created =
        RegCreateKeyEx(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    const bool allowed = part.size() <= MaxKeyPartLength && depth <= MaxKeyDepth;
    if (!allowed) {
        if (created != ERROR_BAD_PATHNAME || access(UserFile().c_str(), F_OK) == 0)
            std::abort();
        return;
    }
    if (created != ERROR_SUCCESS)
        std::abort();
    RegCloseKey(key);
    if (!TRegistryDocument::Parse(ReadAll(UserFile()), Root) ||
        RegOpenKeyEx(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        std::abort();
    RegCloseKey(key);
}

// A value a few bytes either side of the largest one, of the input's bytes.
void CheckValueSize(std::string_view text)
{
    const DWORD size = MaxRegistryValueSize - 2 + ByteAt(text, 5) % 4;
    std::string data(size, '\0');
    for (std::size_t i = 0; i < data.size() && !text.empty(); ++i)
        data[i] = text[i % text.size()];
    const DWORD type = ByteAt(text, 6) % 2 == 0 ? REG_BINARY : REG_SZ;
    unlink(UserFile().c_str());
    const LONG set =
        RegSetValueEx(HKEY_CURRENT_USER, "big", 0, type, reinterpret_cast<const BYTE*>(data.data()), size);
    if (size > MaxRegistryValueSize) {
        if (set != ERROR_INVALID_PARAMETER)
            std::abort();
        return;
    }
    const std::optional<TRegistryDocument> document = TRegistryDocument::Parse(ReadAll(UserFile()), Root);
    if (set != ERROR_SUCCESS || !document || document->FindValue("", "big") == nullptr)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The calls through real files, only for some inputs: they are slower,
    // the largest values most of all.
    const std::uint8_t selector = ByteAt(text, 0);
    if (selector % 16 == 1)
        CheckKeyPath(text);
    else if (selector == 2)
        CheckValueSize(text);

    TRegistryFault fault;
    std::optional<TRegistryDocument> document = TRegistryDocument::Parse(text, Root, &fault);
    if (!document) {
        CheckFault(text, fault);
        return 0;
    }
    const std::string written = document->Text(Root);
    const std::optional<TRegistryDocument> again = TRegistryDocument::Parse(written, Root);
    if (!again || again->Keys() != document->Keys() || again->Text(Root) != written)
        std::abort();

    // Any bytes as a value of any type survive the file.
    const std::uint32_t type = size > 0 ? data[0] % 8 : 1;
    document->SetValue("Fuzz\\Key", {"value \"name\" \\", type, std::string(text.substr(0, 512))});
    const std::optional<TRegistryDocument> changed = TRegistryDocument::Parse(document->Text(Root), Root);
    if (!changed || changed->Keys() != document->Keys())
        std::abort();
    return 0;
}
