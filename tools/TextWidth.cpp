#include "tools/TextWidth.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace {

int ColumnsOf(UChar32 c)
{
    if (c < 0)  // a malformed sequence shows as one replacement character
        return 1;
    switch (u_charType(c)) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_FORMAT_CHAR:
        return 0;
    default:
        break;
    }
    const auto width = static_cast<UEastAsianWidth>(u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH));
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

} // namespace

std::size_t DisplayWidth(std::string_view text)
{
    std::size_t columns = 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t at = 0; at < length;) {
        if (bytes[at] < 0x80) {  // the common case, without decoding
            ++columns;
            ++at;
            continue;
        }
        UChar32 c = 0;
        U8_NEXT(bytes, at, length, c);
        columns += static_cast<std::size_t>(ColumnsOf(c));
    }
    return columns;
}

std::string PaddedTo(std::string_view text, std::size_t width)
{
    const std::size_t shown = DisplayWidth(text);
    std::string padded(text);
    if (shown < width)
        padded.append(width - shown, ' ');
    return padded;
}
