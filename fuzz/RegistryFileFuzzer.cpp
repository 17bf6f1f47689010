// Registry files as the store reads them: any bytes either are refused or
// parse into keys and values that write out and parse back the same, and the
// written text is stable.
#include "framework/runtime/RegistryDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
constexpr std::string_view Root = "HKEY_CURRENT_USER";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<TRegistryDocument> document = TRegistryDocument::Parse(text, Root);
    if (!document)
        return 0;
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
