#include "framework/runtime/ProfileDocument.h"

#include "framework/runtime/sysutils.h"

#include <unordered_set>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view Blanks = " \t";

std::string_view Trim(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = s.find_last_not_of(Blanks);
    return s.substr(first, last - first + 1);
}

bool HasBreakOrZero(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// A name as sections and keys match it: without regard to ASCII case.
std::string Folded(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

// One pair of matching quotes around a value is the writer's, not the value's.
std::string Unquote(std::string_view value)
{
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return std::string(value.substr(1, value.size() - 2));
    return std::string(value);
}

// The value as it must be written so that reading gives it back: quoted when
// trimming or unquoting would change it.
std::string Quote(std::string_view value)
{
    const bool trimmed = Trim(value).size() == value.size();
    const bool looksQuoted = value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
    if (trimmed && !looksQuoted)
        return std::string(value);
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    quoted += value;
    quoted += '"';
    return quoted;
}

} // namespace


TProfileDocument::TLine TProfileDocument::ParseLine(std::string raw)
{
    TLine line;
    const std::string_view trimmed = Trim(raw);
    if (!trimmed.empty() && trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.Kind = lkSection;
            line.Name = std::string(Trim(trimmed.substr(1, close - 1)));
        }
    } else if (!trimmed.empty() && trimmed.front() != ';') {
        const std::size_t equals = trimmed.find('=');
        if (equals != std::string_view::npos) {
            line.Kind = lkKey;
            line.Name = std::string(Trim(trimmed.substr(0, equals)));
            line.Value = Unquote(Trim(trimmed.substr(equals + 1)));
        }
    }
    line.Raw = std::move(raw);
    return line;
}

std::optional<TProfileDocument> TProfileDocument::Parse(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    TProfileDocument document;
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        document.byteOrderMark_ = true;
        text.remove_prefix(ByteOrderMark.size());
    }
    bool inSection = false;
    bool first = true;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view raw = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (first && newline != std::string_view::npos)
            document.crlf_ = !raw.empty() && raw.back() == '\r';
        first = false;
        // Every carriage return before the line's end goes with the ending, so
        // a written line reads back the same whichever ending the file uses.
        while (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (raw.size() > MaxProfileLineLength)
            return std::nullopt;
        TLine line = ParseLine(std::string(raw));
        if (line.Kind == lkSection)
            inSection = true;
        else if (line.Kind == lkKey && !inSection)
            line.Kind = lkText; // a key outside every section: kept, never matched
        document.lines_.push_back(std::move(line));
    }
    return document;
}

std::string TProfileDocument::Text() const
{
    const std::string_view ending = crlf_ ? "\r\n" : "\n";
    std::string text;
    if (byteOrderMark_)
        text += ByteOrderMark;
    for (const TLine& line : lines_) {
        text += line.Raw;
        text += ending;
    }
    return text;
}

std::size_t TProfileDocument::FindSection(std::string_view section) const
{
    const std::string_view name = Trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].Kind == lkSection && SameText(lines_[i].Name, name))
            return i;
    return std::string::npos;
}

std::size_t TProfileDocument::SectionEnd(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].Kind != lkSection)
        ++i;
    return i;
}

std::size_t TProfileDocument::FindKey(std::size_t header, std::string_view key) const
{
    const std::string_view name = Trim(key);
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].Kind == lkKey && SameText(lines_[i].Name, name))
            return i;
    return std::string::npos;
}

std::optional<std::string> TProfileDocument::Value(std::string_view section, std::string_view key) const
{
    const std::size_t header = FindSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    const std::size_t line = FindKey(header, key);
    if (line == std::string::npos)
        return std::nullopt;
    return lines_[line].Value;
}

std::vector<std::string> TProfileDocument::Sections() const
{
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const TLine& line : lines_)
        if (line.Kind == lkSection && seen.insert(Folded(line.Name)).second)
            names.push_back(line.Name);
    return names;
}

std::optional<std::vector<std::string>> TProfileDocument::Keys(std::string_view section) const
{
    const std::size_t header = FindSection(section);
    if (header == std::string::npos)
        return std::nullopt;
    std::vector<std::string> keys;
    std::unordered_set<std::string> seen;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].Kind == lkKey && seen.insert(Folded(lines_[i].Name)).second)
            keys.push_back(lines_[i].Name);
    return keys;
}

bool TProfileDocument::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    if (HasBreakOrZero(section) || HasBreakOrZero(key) || HasBreakOrZero(value))
        return false;
    if (section.find(']') != std::string_view::npos || Trim(section).size() != section.size())
        return false;
    if (key.find('=') != std::string_view::npos || Trim(key).size() != key.size() ||
        (!key.empty() && (key.front() == ';' || key.front() == '[')))
        return false;

    std::string raw = std::string(key) + "=" + Quote(value);
    if (raw.size() > MaxProfileLineLength || section.size() + 2 > MaxProfileLineLength)
        return false;

    std::size_t header = FindSection(section);
    if (header == std::string::npos) {
        // A blank line between the old last section and the new one.
        if (!lines_.empty() && !Trim(lines_.back().Raw).empty())
            lines_.push_back(ParseLine(std::string()));
        lines_.push_back(ParseLine("[" + std::string(section) + "]"));
        header = lines_.size() - 1;
    }
    const std::size_t existing = FindKey(header, key);
    if (existing != std::string::npos) {
        // Keep the key as the file spells it.
        raw = lines_[existing].Raw.substr(0, lines_[existing].Raw.find('='));
        raw = std::string(Trim(raw)) + "=" + Quote(value);
        if (raw.size() > MaxProfileLineLength)
            return false;
        lines_[existing] = ParseLine(std::move(raw));
        return true;
    }
    // After the section's last non-blank line, so that the blank lines and
    // comments before the next section stay where they are... unless those
    // comments belong to the section: the last key line, or the header.
    std::size_t insertAt = header + 1;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].Kind == lkKey)
            insertAt = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), ParseLine(std::move(raw)));
    return true;
}

bool TProfileDocument::EraseKey(std::string_view section, std::string_view key)
{
    const std::size_t header = FindSection(section);
    if (header == std::string::npos)
        return false;
    const std::size_t line = FindKey(header, key);
    if (line == std::string::npos)
        return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
    return true;
}

bool TProfileDocument::EraseSection(std::string_view section)
{
    const std::size_t header = FindSection(section);
    if (header == std::string::npos)
        return false;
    const std::size_t end = SectionEnd(header);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
    return true;
}

std::vector<TProfileDocument::TEntry> TProfileDocument::Entries() const
{
    std::vector<TEntry> entries;
    std::string section;
    for (const TLine& line : lines_) {
        if (line.Kind == lkSection)
            section = line.Name;
        else if (line.Kind == lkKey)
            entries.push_back({section, line.Name, line.Value});
    }
    return entries;
}
