#include "framework/runtime/sysutils.h"

#include <charconv>
#include <cmath>
#include <limits>

void RaiseTruncRangeError(long double value)
{
    throw ERangeError("Trunc: the value " + std::to_string(static_cast<double>(value)) +
                      " is outside the 32-bit integer range");
}

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    // Round half away from zero: add half the divisor in the direction of the
    // quotient's sign, then divide truncating toward zero.
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t divisor = c;
    const std::int64_t half = (divisor < 0 ? -divisor : divisor) / 2;
    const std::int64_t absProduct = product < 0 ? -product : product;
    const std::int64_t absDivisor = divisor < 0 ? -divisor : divisor;
    std::int64_t quotient = (absProduct + half) / absDivisor;
    if (negative)
        quotient = -quotient;
    if (quotient < std::numeric_limits<std::int32_t>::min() ||
        quotient > std::numeric_limits<std::int32_t>::max())
        return -1;
    return static_cast<std::int32_t>(quotient);
}

std::int32_t StrToInt(std::string_view text)
{
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    std::int64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    const bool allDigits = !digits.empty() && error == std::errc() &&
                           end == digits.data() + digits.size() &&
                           digits.find_first_not_of("0123456789") == std::string_view::npos;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (!allDigits || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return static_cast<std::int32_t>(value);
}

std::string IntToStr(std::int64_t value)
{
    return std::to_string(value);
}

bool SameText(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
