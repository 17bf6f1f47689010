// The runtime's error family and the small numeric helpers every subsystem shares.
// Plain C++: the calendar engine depends on this and on nothing else.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

// Base of every error the program raises on purpose. The application reports
// an Exception that leaves an event handler with its Message and carries on.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Text that is not a number, or an object that cannot be assigned to another.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A write to, or read from, a text channel that failed.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A value outside the range its destination can hold.
class ERangeError : public Exception {
public:
    using Exception::Exception;
};

// The system refused a resource (a timer, a handle).
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

// Drops the fraction toward zero (Trunc(-1.5) == -1). Raises ERangeError when
// the result does not fit a 32-bit signed integer, or for NaN, instead of the
// undefined behaviour of a plain cast. Inline: the calendar engine truncates a
// dozen times per conversion.
[[noreturn]] void RaiseTruncRangeError(long double value);

inline std::int32_t Trunc(long double value)
{
    // Compare before converting: the conversion of an out-of-range value is
    // undefined behaviour, and NaN compares false both ways. Whatever passes
    // truncates into the 32-bit range.
    if (!(value > -2147483649.0L && value < 2147483648.0L))
        RaiseTruncRangeError(value);
    // Round to the nearest whole number by adding and taking away 1.5 x 2^63,
    // then step back toward zero if that went past the value. The library's
    // truncation and a direct conversion both reload the x87 control word twice,
    // which costs more than the rest of a calendar conversion's arithmetic.
    constexpr long double RoundingShift = 0x1.8p63L;
    long double truncated = (value + RoundingShift) - RoundingShift;
    if (value >= 0 && truncated > value)
        truncated -= 1;
    else if (value < 0 && truncated < value)
        truncated += 1;
    // Through double, exact for any whole number in range, converted by SSE.
    return static_cast<std::int32_t>(static_cast<double>(truncated));
}

// a * b / c with a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero. Returns -1 when c is 0 or the result does not fit
// 32 bits, as the classic window-system call does.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// Strict decimal parsing: an optional sign and at least one digit, nothing else,
// within the 32-bit signed range. Anything else raises EConvertError
// "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

// Decimal text without leading zeros, a leading minus for negative values.
std::string IntToStr(std::int64_t value);

// Whether two texts are equal ignoring the case of ASCII letters (names of
// sections, keys and colours are matched this way).
bool SameText(std::string_view a, std::string_view b);
// The value of a hexadecimal digit, or -1 for any other character.
int HexDigitValue(char c);
