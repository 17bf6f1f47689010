#include "framework/graphics/RasterOps.h"

#include <algorithm>
#include <array>

namespace {

// The named ROP3 codes. Formula letters: D destination, S source, P pattern
// (the brush); operators follow in reverse Polish: a AND, o OR, x XOR, n NOT.
constexpr std::array<TNamedRop3, 17> NamedTable = {{
    {"BLACKNESS", BLACKNESS, "0"},
    {"NOTSRCERASE", NOTSRCERASE, "DSon"},
    {"NOTSRCCOPY", NOTSRCCOPY, "Sn"},
    {"SRCERASE", SRCERASE, "SDna"},
    {"DSTINVERT", DSTINVERT, "Dn"},
    {"PATINVERT", PATINVERT, "DPx"},
    {"SRCINVERT", SRCINVERT, "DSx"},
    {"SRCAND", SRCAND, "DSa"},
    {"DPa", ROP_DPa, "DPa"},
    {"DSTCOPY", DSTCOPY, "D"},
    {"MERGEPAINT", MERGEPAINT, "DSno"},
    {"MERGECOPY", MERGECOPY, "PSa"},
    {"SRCCOPY", SRCCOPY, "S"},
    {"SRCPAINT", SRCPAINT, "DSo"},
    {"PATCOPY", PATCOPY, "P"},
    {"PATPAINT", PATPAINT, "DPSnoo"},
    {"WHITENESS", WHITENESS, "1"},
}};

constexpr std::uint32_t Opaque = 0xFF000000u;

template <typename Op>
void ForEach(std::uint32_t* dest, const std::uint32_t* source, const std::uint32_t* pattern, int count, Op op)
{
    for (int i = 0; i < count; ++i)
        dest[i] = op(pattern ? pattern[i] : 0u, source ? source[i] : 0u, dest[i]) | Opaque;
}

}  // namespace

std::uint8_t Rop2ToRop3(int rop2)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        rop2 = R2_COPYPEN;
    const unsigned table = static_cast<unsigned>(rop2 - 1);
    std::uint8_t op = 0;
    for (unsigned minterm = 0; minterm < 8; ++minterm) {
        const unsigned p = (minterm >> 2) & 1u;
        const unsigned d = minterm & 1u;
        if ((table >> (2 * p + d)) & 1u)
            op = static_cast<std::uint8_t>(op | (1u << minterm));
    }
    return op;
}

std::span<const TNamedRop3> NamedRop3s()
{
    return NamedTable;
}

void ApplyRop3Row(std::uint8_t op, std::uint32_t* dest, const std::uint32_t* source, const std::uint32_t* pattern,
                  int count)
{
    if (count <= 0)
        return;
    switch (op) {
    case 0x00: std::fill(dest, dest + count, Opaque); return;
    case 0xFF: std::fill(dest, dest + count, 0xFFFFFFFFu); return;
    case 0xAA: return;
    case 0xCC: ForEach(dest, source, nullptr, count, [](auto, auto s, auto) { return s; }); return;
    case 0xF0: ForEach(dest, nullptr, pattern, count, [](auto p, auto, auto) { return p; }); return;
    case 0x88: ForEach(dest, source, nullptr, count, [](auto, auto s, auto d) { return s & d; }); return;
    case 0xEE: ForEach(dest, source, nullptr, count, [](auto, auto s, auto d) { return s | d; }); return;
    case 0x66: ForEach(dest, source, nullptr, count, [](auto, auto s, auto d) { return s ^ d; }); return;
    case 0x33: ForEach(dest, source, nullptr, count, [](auto, auto s, auto) { return ~s; }); return;
    case 0x55: ForEach(dest, nullptr, nullptr, count, [](auto, auto, auto d) { return ~d; }); return;
    case 0x5A: ForEach(dest, nullptr, pattern, count, [](auto p, auto, auto d) { return p ^ d; }); return;
    case 0xA0: ForEach(dest, nullptr, pattern, count, [](auto p, auto, auto d) { return p & d; }); return;
    case 0xC0: ForEach(dest, source, pattern, count, [](auto p, auto s, auto) { return p & s; }); return;
    case 0xBB: ForEach(dest, source, nullptr, count, [](auto, auto s, auto d) { return ~s | d; }); return;
    default: break;
    }
    ForEach(dest, source, pattern, count,
            [op](std::uint32_t p, std::uint32_t s, std::uint32_t d) { return EvaluateRop3(op, p, s, d); });
}
