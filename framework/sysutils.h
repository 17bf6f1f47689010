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
// undefined behaviour of a plain cast.
std::int32_t Trunc(long double value);

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
