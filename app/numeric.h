#pragma once
// Numeric conventions of the simulations: model values kept between ticks are single
// precision, arithmetic in between is extended, pixel coordinates come from rounding to
// the nearest integer with halves to even, and "div" truncates toward zero.
#include <cfenv>
#include <cmath>

using Real = float;          // stored model state
using Extended = long double; // intermediate arithmetic

// Nearest integer, halves to even (0.5 -> 0, 1.5 -> 2, -2.5 -> -2).
inline int Round(Extended x)
{
    return static_cast<int>(std::nearbyintl(x));
}

// Integer part, toward zero.
inline int Trunc(Extended x)
{
    return static_cast<int>(x);
}

// Integer division truncating toward zero (C++ semantics, named as in the formulas).
constexpr int Div(int a, int b)
{
    return a / b;
}

// Remainder with the sign of the dividend.
constexpr int Mod(int a, int b)
{
    return a % b;
}

constexpr Extended Pi = 3.14159265358979323846264338327950288L;
