// How many columns a terminal gives a text: what aligns tables and centres
// titles once names come in other scripts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Columns of UTF-8 text on a terminal: none for combining marks and for format
// characters (the directional marks among them), two for East Asian wide and
// fullwidth characters, one for every other character. An ASCII text's width is
// its length.
std::size_t DisplayWidth(std::string_view text);

// `text` followed by blanks up to `width` columns.
std::string PaddedTo(std::string_view text, std::size_t width);
