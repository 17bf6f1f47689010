#include "framework/runtime/RegistryDocument.h"

#include "framework/runtime/sysutils.h"

#include "framework/runtime/ProfileDocument.h"

#include <algorithm>

namespace {

constexpr std::string_view Header = "REGEDIT4";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view Blanks = " \t";
constexpr std::uint32_t RegSz = 1;
constexpr std::uint32_t RegBinary = 3;
constexpr std::uint32_t RegDword = 4;

std::string_view TrimLeft(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(Blanks);
    return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

std::string_view TrimRight(std::string_view s)
{
    const std::size_t last = s.find_last_not_of(Blanks);
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

bool HasBreakOrZero(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// One to eight hex digits, the whole text.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

// Comma-separated byte pairs, blanks allowed around each; may be empty.
std::optional<std::string> ParseHexBytes(std::string_view text)
{
    std::string bytes;
    text = TrimRight(TrimLeft(text));
    if (text.empty())
        return bytes;
    for (;;) {
        const std::size_t comma = text.find(',');
        const std::string_view pair = TrimRight(TrimLeft(text.substr(0, comma)));
        if (pair.size() != 2 || HexDigitValue(pair[0]) < 0 || HexDigitValue(pair[1]) < 0)
            return std::nullopt;
        bytes += static_cast<char>((HexDigitValue(pair[0]) << 4) | HexDigitValue(pair[1]));
        if (comma == std::string_view::npos)
            return bytes;
        text.remove_prefix(comma + 1);
    }
}

// A quoted string at the start of text: its content, and text moved past it.
std::optional<std::string> ParseQuoted(std::string_view& text)
{
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string content;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return content;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            content += text[++i];
            continue;
        }
        // Any other backslash is just a backslash, as a person might type it.
        content += c;
    }
    return std::nullopt;
}

std::string Quoted(std::string_view s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string HexBytes(std::string_view bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += ',';
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out += Digits[byte >> 4];
        out += Digits[byte & 0xF];
    }
    return out;
}

std::string Folded(std::string_view s)
{
    std::string folded(s);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::string HexNumber(std::uint32_t value, int width)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), Digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(out.size()) < width)
        out.insert(out.begin(), '0');
    return out;
}

std::string ValueData(const TRegistryValue& value)
{
    if (value.Type == RegSz && !HasBreakOrZero(value.Data))
        return Quoted(value.Data);
    if (value.Type == RegDword && value.Data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(value.Data[static_cast<std::size_t>(i)]);
        return "dword:" + HexNumber(number, 8);
    }
    if (value.Type == RegBinary)
        return "hex:" + HexBytes(value.Data);
    return "hex(" + HexNumber(value.Type, 1) + "):" + HexBytes(value.Data);
}

// The data after "name=", into value.
bool ParseData(std::string_view text, TRegistryValue& value)
{
    text = TrimRight(TrimLeft(text));
    if (!text.empty() && text.front() == '"') {
        std::optional<std::string> content = ParseQuoted(text);
        if (!content || !TrimLeft(text).empty())
            return false;
        value.Type = RegSz;
        value.Data = std::move(*content);
        return true;
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view kind = text.substr(0, colon);
    const std::string_view rest = text.substr(colon + 1);
    if (kind == "dword") {
        const std::optional<std::uint32_t> number = ParseHexNumber(rest);
        if (!number)
            return false;
        value.Type = RegDword;
        value.Data.clear();
        for (int i = 0; i < 4; ++i)
            value.Data += static_cast<char>((*number >> (8 * i)) & 0xFF);
        return true;
    }
    std::optional<std::uint32_t> type;
    if (kind == "hex")
        type = RegBinary;
    else if (kind.size() > 5 && kind.substr(0, 4) == "hex(" && kind.back() == ')')
        type = ParseHexNumber(kind.substr(4, kind.size() - 5));
    if (!type)
        return false;
    std::optional<std::string> bytes = ParseHexBytes(rest);
    if (!bytes)
        return false;
    value.Type = *type;
    value.Data = std::move(*bytes);
    return true;
}

// "ROOT" or "ROOT\path" into the path from the root.
std::optional<std::string> PathUnderRoot(std::string_view full, std::string_view rootName)
{
    if (full.size() < rootName.size() || !SameText(full.substr(0, rootName.size()), rootName))
        return std::nullopt;
    full.remove_prefix(rootName.size());
    if (full.empty())
        return std::string();
    if (full.front() != '\\')
        return std::nullopt;
    full.remove_prefix(1);
    if (full.empty() || !IsRegistryPath(full))
        return std::nullopt;
    return std::string(full);
}

// A logical line: a physical line without its ending, or several when a hex
// list's trailing '\' joins the next line to it.
struct TLogicalLine {
    std::size_t Number; // of its first physical line, from 1
    std::string Text;
};

std::vector<TLogicalLine> LogicalLines(std::string_view text, TRegistryFault& fault)
{
    std::vector<TLogicalLine> lines;
    bool continuing = false;
    for (std::size_t number = 1; !text.empty(); ++number) {
        const std::size_t newline = text.find('\n');
        std::string_view raw = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        while (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (raw.size() > MaxRegistryLineLength) {
            fault = {number, "a line too long"};
            return {};
        }
        std::string_view content = TrimRight(raw);
        if (continuing)
            content = TrimLeft(content);
        // Only a hex list goes on over lines; a comment may end in '\' freely.
        const bool comment = !continuing && !TrimLeft(content).empty() && TrimLeft(content).front() == ';';
        const bool continues = !comment && !content.empty() && content.back() == '\\';
        if (continues)
            content.remove_suffix(1);
        if (continuing)
            lines.back().Text += content;
        else
            lines.push_back({number, std::string(content)});
        continuing = continues;
    }
    return lines;
}

} // namespace

bool IsRegistryPath(std::string_view path)
{
    if (path.empty())
        return true;
    if (HasBreakOrZero(path))
        return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = path.find('\\', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        if (end == start)
            return false;
        if (slash == std::string_view::npos)
            return true;
        start = slash + 1;
    }
}

std::optional<TRegistryDocument> TRegistryDocument::Parse(std::string_view text, std::string_view rootName,
                                                          TRegistryFault* fault)
{
    TRegistryFault found;
    std::optional<TRegistryDocument> document = ParseLines(text, rootName, found);
    if (!document && fault != nullptr)
        *fault = std::move(found);
    return document;
}

std::optional<TRegistryDocument> TRegistryDocument::ParseLines(std::string_view text, std::string_view rootName,
                                                               TRegistryFault& fault)
{
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark)
        text.remove_prefix(ByteOrderMark.size());
    const std::vector<TLogicalLine> lines = LogicalLines(text, fault);
    if (fault.Line != 0)
        return std::nullopt;

    TRegistryDocument document;
    bool sawHeader = false;
    std::optional<std::size_t> currentKey;
    for (const TLogicalLine& stored : lines) {
        const auto refuse = [&](std::string reason) {
            fault = {stored.Number, std::move(reason)};
            return std::nullopt;
        };
        const std::string_view line = TrimLeft(stored.Text);
        if (line.empty() || line.front() == ';')
            continue;
        if (!sawHeader) {
            if (line != Header)
                return refuse("not REGEDIT4, the first line of a registry file");
            sawHeader = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2)
                return refuse("a key without its closing bracket");
            const std::optional<std::string> path = PathUnderRoot(line.substr(1, line.size() - 2), rootName);
            if (!path)
                return refuse("not a key of " + std::string(rootName));
            currentKey = document.ListKeyAt(*path);
            continue;
        }
        if (!currentKey)
            return refuse("a value before the first key");
        TRegistryValue value;
        std::string_view rest = line;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            std::optional<std::string> name = ParseQuoted(rest);
            if (!name)
                return refuse("a value name not in quotes");
            value.Name = std::move(*name);
        }
        rest = TrimLeft(rest);
        if (rest.empty() || rest.front() != '=')
            return refuse("a value without '='");
        rest.remove_prefix(1);
        if (!ParseData(rest, value))
            return refuse("value data that cannot be read");
        document.SetValueAt(*currentKey, std::move(value));
    }
    // An empty file is an empty registry; anything else starts with the header.
    return document;
}

std::string TRegistryDocument::Text(std::string_view rootName) const
{
    std::string text = std::string(Header) + "\n";
    for (const TRegistryKey& key : keys_) {
        text += "\n[";
        text += rootName;
        if (!key.Path.empty()) {
            text += '\\';
            text += key.Path;
        }
        text += "]\n";
        for (const TRegistryValue& value : key.Values) {
            text += value.Name.empty() ? std::string("@") : Quoted(value.Name);
            text += '=';
            text += ValueData(value);
            text += '\n';
        }
    }
    return text;
}

bool TRegistryDocument::KeyExists(std::string_view path) const
{
    if (path.empty())
        return true;
    for (const TRegistryKey& key : keys_) {
        if (key.Path.size() < path.size() || !SameText(std::string_view(key.Path).substr(0, path.size()), path))
            continue;
        if (key.Path.size() == path.size() || key.Path[path.size()] == '\\')
            return true;
    }
    return false;
}

std::optional<std::size_t> TRegistryDocument::FindKeyAt(std::string_view path) const
{
    const auto found = keyIndex_.find(Folded(path));
    return found != keyIndex_.end() ? std::optional<std::size_t>(found->second) : std::nullopt;
}

std::optional<std::size_t> TRegistryDocument::FindValueAt(std::size_t key, std::string_view name) const
{
    const TIndex& values = valueIndex_[key];
    const auto found = values.find(Folded(name));
    return found != values.end() ? std::optional<std::size_t>(found->second) : std::nullopt;
}

std::size_t TRegistryDocument::ListKeyAt(std::string_view path)
{
    const auto [place, added] = keyIndex_.try_emplace(Folded(path), keys_.size());
    if (added) {
        keys_.push_back({std::string(path), {}});
        valueIndex_.emplace_back();
    }
    return place->second;
}

void TRegistryDocument::SetValueAt(std::size_t key, TRegistryValue value)
{
    std::vector<TRegistryValue>& values = keys_[key].Values;
    const auto [place, added] = valueIndex_[key].try_emplace(Folded(value.Name), values.size());
    if (added) {
        values.push_back(std::move(value));
        return;
    }
    // The value keeps the name as first spelt.
    TRegistryValue& existing = values[place->second];
    existing.Type = value.Type;
    existing.Data = std::move(value.Data);
}

const TRegistryKey* TRegistryDocument::FindKey(std::string_view path) const
{
    const std::optional<std::size_t> key = FindKeyAt(path);
    return key ? &keys_[*key] : nullptr;
}

TRegistryKey& TRegistryDocument::ListKey(std::string_view path)
{
    return keys_[ListKeyAt(path)];
}

const TRegistryValue* TRegistryDocument::FindValue(std::string_view path, std::string_view name) const
{
    const std::optional<std::size_t> key = FindKeyAt(path);
    if (!key)
        return nullptr;
    const std::optional<std::size_t> value = FindValueAt(*key, name);
    return value ? &keys_[*key].Values[*value] : nullptr;
}

void TRegistryDocument::SetValue(std::string_view path, TRegistryValue value)
{
    SetValueAt(ListKeyAt(path), std::move(value));
}

bool TRegistryDocument::DeleteValue(std::string_view path, std::string_view name)
{
    const std::optional<std::size_t> key = FindKeyAt(path);
    if (!key)
        return false;
    const std::optional<std::size_t> value = FindValueAt(*key, name);
    if (!value)
        return false;
    std::vector<TRegistryValue>& values = keys_[*key].Values;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(*value));
    // The values after it moved up by one.
    TIndex& index = valueIndex_[*key];
    index.erase(Folded(name));
    for (auto& [folded, position] : index)
        if (position > *value)
            --position;
    return true;
}
