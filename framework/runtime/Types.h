// Plain value types shared by every layer: points, rectangles and small enum sets.
#pragma once

#include <cstdint>
#include <initializer_list>

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle in the window system's convention: Right and Bottom are exclusive,
// so a rectangle (0, 0, 2, 2) covers four pixels.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
inline TRect OffsetRect(TRect r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }
inline TRect InflateRect(TRect r, int dx, int dy) { return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy}; }

// The common part of two rectangles; an empty rectangle (0, 0, 0, 0) when they do not meet.
inline TRect IntersectRect(const TRect& a, const TRect& b)
{
    TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
            a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    return r.IsEmpty() ? TRect{} : r;
}

// A set of the values of a small enumeration (at most 64 values), as the
// properties of components use them: Options = {foFillInner, foGrUseBitmap}.
template <typename E>
class Set {
public:
    constexpr Set() = default;
    constexpr Set(std::initializer_list<E> values)
    {
        for (E v : values)
            bits_ |= Bit(v);
    }
    static constexpr Set FromBits(std::uint64_t bits) { Set s; s.bits_ = bits; return s; }

    constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint64_t Bits() const { return bits_; }
    constexpr Set& Include(E v) { bits_ |= Bit(v); return *this; }
    constexpr Set& Exclude(E v) { bits_ &= ~Bit(v); return *this; }

    friend constexpr Set operator+(Set a, Set b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr Set operator-(Set a, Set b) { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr Set operator*(Set a, Set b) { return FromBits(a.bits_ & b.bits_); }
    friend constexpr bool operator==(Set, Set) = default;

private:
    static constexpr std::uint64_t Bit(E v) { return std::uint64_t{1} << static_cast<unsigned>(v); }
    std::uint64_t bits_ = 0;
};
