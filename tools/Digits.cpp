#include "tools/Digits.h"

namespace {

// The UTF-8 lead byte and the continuation of digit zero in each set; the other
// nine follow it in the continuation byte.
struct DigitBytes {
    unsigned char Lead;
    unsigned char Zero;
};
constexpr DigitBytes ArabicIndic{0xD9, 0xA0};         // U+0660
constexpr DigitBytes EasternArabicIndic{0xDB, 0xB0};  // U+06F0

// Directional formatting characters, as their UTF-8 sequences.
struct MarkRange {
    std::string_view Prefix;  // all bytes but the last
    unsigned char First, Last;
};
constexpr std::array<MarkRange, 4> DirectionalMarks{{
    {"\xD8", 0x9C, 0x9C},      // U+061C ARABIC LETTER MARK
    {"\xE2\x80", 0x8E, 0x8F},  // U+200E LRM, U+200F RLM
    {"\xE2\x80", 0xAA, 0xAE},  // U+202A..U+202E embeddings and overrides, PDF
    {"\xE2\x81", 0xA6, 0xA9},  // U+2066..U+2069 isolates, PDI
}};

// How many bytes at text[at..] form a directional mark, or 0.
std::size_t MarkLength(std::string_view text, std::size_t at)
{
    for (const MarkRange& mark : DirectionalMarks) {
        const std::size_t length = mark.Prefix.size() + 1;
        if (text.size() - at < length || text.compare(at, mark.Prefix.size(), mark.Prefix) != 0)
            continue;
        const auto last = static_cast<unsigned char>(text[at + mark.Prefix.size()]);
        if (last >= mark.First && last <= mark.Last)
            return length;
    }
    return 0;
}

// The digit 0..9 an Arabic-Indic or Eastern Arabic-Indic sequence at text[at..]
// stands for, or -1.
int ArabicDigitAt(std::string_view text, std::size_t at)
{
    if (text.size() - at < 2)
        return -1;
    const auto lead = static_cast<unsigned char>(text[at]);
    const auto next = static_cast<unsigned char>(text[at + 1]);
    for (const DigitBytes& set : {ArabicIndic, EasternArabicIndic})
        if (lead == set.Lead && next >= set.Zero && next <= set.Zero + 9)
            return next - set.Zero;
    return -1;
}

// Walks `text`, handing each byte the readers keep to `put`.
template <typename Put>
void ForEachWesternByte(std::string_view text, Put&& put)
{
    for (std::size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            put(text[at++]);
        } else if (const int digit = ArabicDigitAt(text, at); digit >= 0) {
            put(static_cast<char>('0' + digit));
            at += 2;
        } else if (const std::size_t mark = MarkLength(text, at); mark > 0) {
            at += mark;
        } else {
            put(text[at++]);
        }
    }
}

} // namespace

std::optional<DigitSet> FindDigitSet(std::string_view name)
{
    for (const DigitSetName& entry : DigitSetNames)
        if (entry.Name == name)
            return entry.Set;
    return std::nullopt;
}

std::string_view NameOf(DigitSet set)
{
    for (const DigitSetName& entry : DigitSetNames)
        if (entry.Set == set)
            return entry.Name;
    return "latn";
}

std::string InDigits(std::string_view text, DigitSet set)
{
    if (set == DigitSet::dsLatin)
        return std::string(text);
    const DigitBytes bytes = set == DigitSet::dsArabic ? ArabicIndic : EasternArabicIndic;
    std::string written;
    written.reserve(text.size() * 2);
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            written += static_cast<char>(bytes.Lead);
            written += static_cast<char>(bytes.Zero + (c - '0'));
        } else {
            written += c;
        }
    }
    return written;
}

bool NeedsWesternDigits(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

std::string WesternDigits(std::string_view text)
{
    std::string western;
    western.reserve(text.size());
    ForEachWesternByte(text, [&](char c) { western += c; });
    return western;
}

bool WesternDigitsInto(std::string_view text, char* out, std::size_t room, std::size_t& length)
{
    length = 0;
    bool fits = true;
    ForEachWesternByte(text, [&](char c) {
        if (length < room)
            out[length++] = c;
        else
            fits = false;
    });
    return fits;
}
