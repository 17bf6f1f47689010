// Profile files as the store reads them: any bytes either are refused or
// parse into a document that writes out and parses back to the same entries
// and the same text; a value set in it reads back as it was set.
#include "framework/runtime/ProfileDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<TProfileDocument> document = TProfileDocument::Parse(text);
    if (!document)
        return 0;
    const std::string written = document->Text();
    const std::optional<TProfileDocument> again = TProfileDocument::Parse(written);
    if (!again || again->Entries() != document->Entries() || again->Text() != written)
        std::abort();

    // A change through the writer: the input's first line split into a
    // section, a key and a value.
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    const std::size_t third = firstLine.size() / 3;
    const std::string section(firstLine.substr(0, third));
    const std::string key(firstLine.substr(third, third));
    const std::string value(firstLine.substr(2 * third));
    if (document->SetValue(section, key, value)) {
        const std::optional<TProfileDocument> changed = TProfileDocument::Parse(document->Text());
        if (!changed || changed->Value(section, key) != value || changed->Entries() != document->Entries())
            std::abort();
        if (!document->EraseKey(section, key))
            std::abort();
    }
    return 0;
}
