// Sine and cosine of one angle at once, in extended precision, for the large
// angles of the lunar series (hundreds of thousands of radians).
//
// The library's sinl reduces such angles with hundreds of bits of pi, which is
// slow. Here the angle is reduced by quarter turns against pi/2 held in three
// parts (Cody and Waite), and polynomials evaluate the small remainder. The result
// stays within about one unit of the last place of extended precision of the
// exact sine of the given angle, as sinl's does.
#pragma once

#include <cmath>
#include <cstdint>

struct SineCosine {
    long double Sin;
    long double Cos;
};

namespace sine_cosine_detail {

// pi/2 = HalfPi1 + HalfPi2 + HalfPi3 to 128 bits. The first two parts carry 32
// significant bits, so their products with a quarter-turn count below 2^32 are
// exact and the reduction loses nothing to cancellation.
inline constexpr long double HalfPi1 = 0xc90fdaa2p-31L;
inline constexpr long double HalfPi2 = 0x85a308d3p-65L;
inline constexpr long double HalfPi3 = 0x98cc51701b839a25p-132L;
inline constexpr long double TwoOverPi = 0.636619772367581343075535053490057448L;
// Adding and taking away 1.5 x 2^63 rounds an extended value to a whole number.
inline constexpr long double RoundingShift = 0x1.8p63L;
// Largest quarter-turn count the split above reduces exactly.
inline constexpr long double MaxQuarterTurns = 0x1p31L;

// Taylor coefficients 1/n! of the remainder's polynomials, fixed at compile time.
consteval long double InverseFactorial(int n)
{
    long double value = 1;
    for (int i = 2; i <= n; ++i)
        value /= i;
    return value;
}

// |angle| <= pi/4 (a little more is harmless). The series run to the 19th power
// for the sine and the 18th for the cosine: the first term left out is below
// 4e-21, under half a unit in the last place of a result near 1. Plain
// multiplications and additions, so the result is the same on every x87 unit.
[[gnu::always_inline]] inline SineCosine KernelSinCos(long double angle)
{
    const long double z = angle * angle;
    long double sineTail = -InverseFactorial(19);
    sineTail = sineTail * z + InverseFactorial(17);
    sineTail = sineTail * z - InverseFactorial(15);
    sineTail = sineTail * z + InverseFactorial(13);
    sineTail = sineTail * z - InverseFactorial(11);
    sineTail = sineTail * z + InverseFactorial(9);
    sineTail = sineTail * z - InverseFactorial(7);
    sineTail = sineTail * z + InverseFactorial(5);
    sineTail = sineTail * z - InverseFactorial(3);
    long double cosineTail = InverseFactorial(18);
    cosineTail = cosineTail * z - InverseFactorial(16);
    cosineTail = cosineTail * z + InverseFactorial(14);
    cosineTail = cosineTail * z - InverseFactorial(12);
    cosineTail = cosineTail * z + InverseFactorial(10);
    cosineTail = cosineTail * z - InverseFactorial(8);
    cosineTail = cosineTail * z + InverseFactorial(6);
    cosineTail = cosineTail * z - InverseFactorial(4);
    cosineTail = cosineTail * z + InverseFactorial(2);
    return {angle + angle * z * sineTail, 1 - z * cosineTail};
}

} // namespace sine_cosine_detail

[[gnu::always_inline]] inline SineCosine SinCos(long double angle)
{
    using namespace sine_cosine_detail;
    const long double shifted = angle * TwoOverPi + RoundingShift;
    const long double quarterTurns = shifted - RoundingShift;
    if (!(std::fabs(quarterTurns) < MaxQuarterTurns))  // also NaN and infinity
        return {std::sin(angle), std::cos(angle)};
    const long double remainder =
        ((angle - quarterTurns * HalfPi1) - quarterTurns * HalfPi2) - quarterTurns * HalfPi3;
    const SineCosine r = KernelSinCos(remainder);
    // The count is whole and below 2^31: exact as a double, and converted by SSE,
    // which spares the x87 control-word reloads of a direct conversion.
    switch (static_cast<std::int64_t>(static_cast<double>(quarterTurns)) & 3) {
    case 0: return {r.Sin, r.Cos};
    case 1: return {r.Cos, -r.Sin};
    case 2: return {-r.Sin, -r.Cos};
    default: return {-r.Cos, r.Sin};
    }
}
