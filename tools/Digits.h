// Numbers in Western, Arabic-Indic (U+0660..U+0669) or Eastern Arabic-Indic
// (U+06F0..U+06F9) digits: written in the set a reader chose, read in any of them.
// Plain C++ over UTF-8 text.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class DigitSet { dsLatin, dsArabic, dsEasternArabic };

struct DigitSetName {
    std::string_view Name;  // the numbering system's name as ICU and CLDR spell it
    DigitSet Set;
};

inline constexpr std::array<DigitSetName, 3> DigitSetNames{{
    {"latn", DigitSet::dsLatin},
    {"arab", DigitSet::dsArabic},
    {"arabext", DigitSet::dsEasternArabic},
}};

std::optional<DigitSet> FindDigitSet(std::string_view name);
std::string_view NameOf(DigitSet set);

// `text` with each ASCII digit written in `set`; every other byte as it is.
std::string InDigits(std::string_view text, DigitSet set);

// Whether `text` holds anything the date readers must translate first: any byte
// outside ASCII.
bool NeedsWesternDigits(std::string_view text);

// The text the date readers take: Arabic-Indic and Eastern Arabic-Indic digits as
// ASCII digits, and the directional marks right-to-left text carries around
// numbers (LRM, RLM, ALM, the embeddings and the isolates) left out. Everything
// else as it is, so that a text that is no date stays no date.
std::string WesternDigits(std::string_view text);

// The same without allocating, into out[0..room): false when it does not fit.
bool WesternDigitsInto(std::string_view text, char* out, std::size_t room, std::size_t& length);
