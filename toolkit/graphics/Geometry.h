#pragma once

#include <algorithm>

// Pixel geometry. Rectangles are right- and bottom-exclusive everywhere:
// (0, 0, 10, 5) covers columns 0..9 and rows 0..4.

struct TPoint {
    int X = 0;
    int Y = 0;

    friend constexpr bool operator==(TPoint, TPoint) = default;
    constexpr TPoint operator+(TPoint other) const { return {X + other.X, Y + other.Y}; }
    constexpr TPoint operator-(TPoint other) const { return {X - other.X, Y - other.Y}; }
};

struct TSize {
    int Width = 0;
    int Height = 0;

    friend constexpr bool operator==(TSize, TSize) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    static constexpr TRect FromBounds(int left, int top, int width, int height)
    {
        return {left, top, left + width, top + height};
    }

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }

    constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }

    constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    constexpr TRect Offset(TPoint by) const { return Offset(by.X, by.Y); }

    // Moves every side n pixels inwards (outwards for negative n).
    constexpr TRect Shrink(int n) const { return {Left + n, Top + n, Right - n, Bottom - n}; }

    constexpr TRect Intersect(const TRect& other) const
    {
        TRect r{std::max(Left, other.Left), std::max(Top, other.Top), std::min(Right, other.Right),
            std::min(Bottom, other.Bottom)};
        if (r.IsEmpty())
            return {};
        return r;
    }

    // The smallest rectangle holding both; an empty rectangle adds nothing.
    constexpr TRect Union(const TRect& other) const
    {
        if (IsEmpty())
            return other;
        if (other.IsEmpty())
            return *this;
        return {std::min(Left, other.Left), std::min(Top, other.Top), std::max(Right, other.Right),
            std::max(Bottom, other.Bottom)};
    }

    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};
