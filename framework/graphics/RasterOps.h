// Raster operations: how a pen or brush (P), a source (S) and the destination
// (D) combine, bit by bit, into the new destination.
//
// A ROP2 code (1..16) is a truth table over P and D: bit (2*P + D) of
// (code - 1) is the result. A ROP3 code's third byte is a truth table over
// P, S and D: bit (4*P + 2*S + D) is the result; the low word is the old
// compiler hint and plays no part here.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// ---- ROP2: pens and brushes of shapes --------------------------------------

enum : int {
    R2_BLACK = 1,        // 0
    R2_NOTMERGEPEN = 2,  // ~(P | D)
    R2_MASKNOTPEN = 3,   // ~P & D
    R2_NOTCOPYPEN = 4,   // ~P
    R2_MASKPENNOT = 5,   // P & ~D
    R2_NOT = 6,          // ~D
    R2_XORPEN = 7,       // P ^ D
    R2_NOTMASKPEN = 8,   // ~(P & D)
    R2_MASKPEN = 9,      // P & D
    R2_NOTXORPEN = 10,   // ~(P ^ D)
    R2_NOP = 11,         // D
    R2_MERGENOTPEN = 12, // ~P | D
    R2_COPYPEN = 13,     // P
    R2_MERGEPENNOT = 14, // P | ~D
    R2_MERGEPEN = 15,    // P | D
    R2_WHITE = 16        // 1
};

// The ROP3 byte that does what a ROP2 code does (the source plays no part).
std::uint8_t Rop2ToRop3(int rop2);

// ---- ROP3: bit-block transfers ----------------------------------------------

using TRop3 = std::uint32_t;

constexpr TRop3 BLACKNESS = 0x00000042;    // 0
constexpr TRop3 NOTSRCERASE = 0x001100A6;  // ~(S | D)
constexpr TRop3 NOTSRCCOPY = 0x00330008;   // ~S
constexpr TRop3 SRCERASE = 0x00440328;     // S & ~D
constexpr TRop3 DSTINVERT = 0x00550009;    // ~D
constexpr TRop3 PATINVERT = 0x005A0049;    // P ^ D
constexpr TRop3 SRCINVERT = 0x00660046;    // S ^ D
constexpr TRop3 SRCAND = 0x008800C6;       // S & D
constexpr TRop3 ROP_DPa = 0x00A000C9;      // P & D
constexpr TRop3 DSTCOPY = 0x00AA0029;      // D
constexpr TRop3 MERGEPAINT = 0x00BB0226;   // ~S | D
constexpr TRop3 MERGECOPY = 0x00C000CA;    // P & S
constexpr TRop3 SRCCOPY = 0x00CC0020;      // S
constexpr TRop3 SRCPAINT = 0x00EE0086;     // S | D
constexpr TRop3 PATCOPY = 0x00F00021;      // P
constexpr TRop3 PATPAINT = 0x00FB0A09;     // P | ~S | D
constexpr TRop3 WHITENESS = 0x00FF0062;    // 1

constexpr std::uint8_t Rop3Byte(TRop3 rop) { return static_cast<std::uint8_t>((rop >> 16) & 0xFF); }
// Whether the truth table depends on the source / the pattern at all.
constexpr bool Rop3UsesSource(std::uint8_t op) { return ((op >> 2) ^ op) & 0x33; }
constexpr bool Rop3UsesPattern(std::uint8_t op) { return ((op >> 4) ^ op) & 0x0F; }
constexpr bool Rop3UsesDest(std::uint8_t op) { return ((op >> 1) ^ op) & 0x55; }

struct TNamedRop3 {
    std::string_view Name;
    TRop3 Code;
    std::string_view Formula;  // in the window system's reverse Polish notation
};
// The named operations, ordered by truth table.
std::span<const TNamedRop3> NamedRop3s();

// One pixel word through the truth table (every bit independently).
constexpr std::uint32_t EvaluateRop3(std::uint8_t op, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    std::uint32_t result = 0;
    for (unsigned minterm = 0; minterm < 8; ++minterm) {
        if ((op >> minterm) & 1u)
            result |= ((minterm & 4u) ? p : ~p) & ((minterm & 2u) ? s : ~s) & ((minterm & 1u) ? d : ~d);
    }
    return result;
}

// A row of RGB32 pixels through the operation: dest[i] = op(pattern[i],
// source[i], dest[i]), keeping the alpha byte opaque. source and pattern may
// be null when the operation does not use them. Common operations take fast paths.
void ApplyRop3Row(std::uint8_t op, std::uint32_t* dest, const std::uint32_t* source, const std::uint32_t* pattern,
                  int count);
