// The routines the settings store's values are made and read with: comma
// lists, the placement record's integers, fonts as text, and centring a form.
#pragma once

#include "framework/graphics/Fonts.h"

#include <string>
#include <vector>

class TCustomForm;

// Adds the fields of text to list: a field ends at each separator, and the
// rest after the last separator is a field unless it is empty. So "a,,b"
// gives a, (empty), b; "a,b," gives a, b; "" gives nothing. Texts of any
// length are split.
void SplitValue(const std::string& text, char separator, std::vector<std::string>& list);

// The values in decimal, joined by separator without spaces: 200,0,1,-8,80.
std::string JoinIntegers(const std::vector<int>& values, char separator);

// Seven fields joined by ",": face name, size in points, colour
// (ColorToString), then bold, italic, underline, strike-out as "1" or "0".
std::string FontToString(const TFont& font);
// The font FontToString wrote. Unless the text has exactly seven fields the
// font stays as it is. A size that is not a number gives 10, a style field
// counts when its number's low byte is not zero; a colour that is neither a
// name nor a number raises EConvertError.
void StringToFont(const std::string& text, TFont& font);

// Puts the form in the middle of the screen, its size unchanged.
void CenterOnScreen(TCustomForm& form);
