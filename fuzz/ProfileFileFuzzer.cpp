// Profile files as the store reads them: any bytes either are refused or
// parse into a document that writes out and parses back to the same entries
// and the same text; a value set in it reads back as it was set, also values
// at the longest a line carries. The file itself, listed by the classic call
// (section names, and a section's keys) into a buffer of any size, fills the
// buffer as the call promises and never a byte beyond it.
#include "ScratchFolder.h"

#include "framework/runtime/ProfileDocument.h"
#include "framework/runtime/ProfileFiles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The names each with its zero, as the list call gives them.
std::string ListOf(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names)
        list.append(name).push_back('\0');
    return list;
}

// The call's promise for a list into size characters: the whole list and one
// more zero when it fits, else size - 2 characters of it and two zeros.
void CheckListCall(const char* section, const std::string& list, const std::string& file, DWORD size)
{
    // Exactly size bytes, so that the sanitizer sees any byte written past them.
    auto buffer = std::make_unique<char[]>(size);
    const DWORD result = GetPrivateProfileString(section, nullptr, "", buffer.get(), size, file.c_str());
    std::string expected(1, '\0');
    DWORD expectedResult = 0;
    if (list.size() + 1 <= size) {
        expected = list + '\0';
        expectedResult = static_cast<DWORD>(list.size());
    } else if (size >= 2) {
        expected = list.substr(0, size - 2) + std::string(2, '\0');
        expectedResult = size - 2;
    }
    if (result != expectedResult || std::string_view(buffer.get(), expected.size()) != expected)
        std::abort();
}

void CheckLists(std::string_view text, const std::optional<TProfileDocument>& document)
{
    const std::string file = ScratchFolder() + "/list.ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    // A text that is not a profile file lists nothing.
    const std::vector<std::string> sections = document ? document->Sections() : std::vector<std::string>{};
    std::vector<std::pair<const char*, std::string>> lists = {{nullptr, ListOf(sections)}};
    if (!sections.empty())
        lists.emplace_back(sections.front().c_str(), ListOf(*document->Keys(sections.front())));
    // A buffer size the input chooses, and the sizes around the list's own.
    const DWORD chosen = text.size() >= 2 ? 1 + (static_cast<std::uint8_t>(text[text.size() - 1]) << 8 |
                                                 static_cast<std::uint8_t>(text[text.size() - 2])) % 512
                                          : 1;
    for (const auto& [section, list] : lists) {
        CheckListCall(section, list, file, chosen);
        // One short of the closing zero, just enough, one to spare.
        for (std::size_t around = std::max<std::size_t>(list.size(), 1); around <= list.size() + 2; ++around)
            CheckListCall(section, list, file, static_cast<DWORD>(around));
    }
}

// A value as long as a line may carry, give or take a few characters: the
// document takes it only when its line fits, and then reads it back.
void CheckLongValue(TProfileDocument document, std::string_view seed)
{
    const std::string before = document.Text();
    const std::size_t slack = seed.empty() ? 0 : static_cast<std::uint8_t>(seed.front()) % 8;
    std::string value;
    value.reserve(MaxProfileLineLength);
    while (!seed.empty() && value.size() + seed.size() <= MaxProfileLineLength - slack)
        value += seed;
    value.resize(std::min(value.size(), MaxProfileLineLength - slack));
    if (!document.SetValue("Long", "k", value)) {
        if (document.Text() != before)
            std::abort();
        return;
    }
    const std::optional<TProfileDocument> reread = TProfileDocument::Parse(document.Text());
    if (!reread || reread->Value("Long", "k") != value)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::optional<TProfileDocument> document = TProfileDocument::Parse(text);
    CheckLists(text, document);
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
    // Slower: only for some inputs.
    if (!text.empty() && static_cast<std::uint8_t>(text.back()) % 4 == 0)
        CheckLongValue(*document, value);
    if (document->SetValue(section, key, value)) {
        const std::optional<TProfileDocument> changed = TProfileDocument::Parse(document->Text());
        if (!changed || changed->Value(section, key) != value || changed->Entries() != document->Entries())
            std::abort();
        if (!document->EraseKey(section, key))
            std::abort();
    }
    return 0;
}
