// A profile (INI) file held as its lines, so that changing one value keeps
// every other line, comment, blank and order of the file as it was.
//
//   ; a comment               kept, never matched
//   [Section]                 a section header; the name is trimmed
//   Key = value               a key line: key and value trimmed of blanks;
//   Other="  padded  "        one pair of matching quotes around a value is
//                             taken off, so blanks at either end survive
//
// Sections and keys match without regard to ASCII case; with duplicates the
// first section and, in it, the first key count. Key lines before the first
// section belong to none and are only kept. Lines end in LF or CRLF; a file
// keeps the ending its first line had, and a byte-order mark it began with.
//
// A text with a zero byte or a line longer than MaxProfileLineLength is not a
// profile file: Parse refuses it rather than guess.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t MaxProfileLineLength = 65536;

class TProfileDocument {
public:
    // An empty document.
    TProfileDocument() = default;
    static std::optional<TProfileDocument> Parse(std::string_view text);
    // The file's text; every line ends with the document's line ending.
    std::string Text() const;

    // The value of key in section, quotes taken off; nothing when missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Section names in file order, each once (as first spelt).
    std::vector<std::string> Sections() const;
    // The keys of section in order, each once; nothing when there is no such section.
    std::optional<std::vector<std::string>> Keys(std::string_view section) const;

    // Sets key in section, adding the section at the end and the key after the
    // section's last key when missing. False, with nothing changed, for what a
    // line cannot carry: line breaks or zero bytes anywhere, a section name
    // with ']' or with blanks at either end, a key with '=' or blanks at either
    // end or beginning like a comment or a header, or a line that would be
    // longer than MaxProfileLineLength.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes key's line from section; false when there was none.
    bool EraseKey(std::string_view section, std::string_view key);
    // Removes the section's header and every line up to the next header;
    // false when there was none.
    bool EraseSection(std::string_view section);

    // Every key line as (section, key, value), in file order, duplicates
    // included: what the document says, for comparing two documents.
    struct TEntry {
        std::string Section;
        std::string Key;
        std::string Value;
        friend bool operator==(const TEntry&, const TEntry&) = default;
    };
    std::vector<TEntry> Entries() const;

private:
    enum TLineKind { lkText, lkSection, lkKey };
    struct TLine {
        TLineKind Kind = lkText;
        std::string Raw;   // the line as written, without its ending
        std::string Name;  // section or key name, trimmed
        std::string Value; // a key's value, quotes taken off
    };

    static TLine ParseLine(std::string raw);
    // Index of the first header of section, or npos.
    std::size_t FindSection(std::string_view section) const;
    // One past the last line of the section whose header is at index.
    std::size_t SectionEnd(std::size_t header) const;
    std::size_t FindKey(std::size_t header, std::string_view key) const;

    std::vector<TLine> lines_;
    bool crlf_ = false;
    bool byteOrderMark_ = false;
};

