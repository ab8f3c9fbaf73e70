#pragma once

#include <string>

// Number parsing shared by every text format of the engine. Integers read at most 8 digits.

// The value of a hexadecimal digit (either case), or -1 for any other character.
int hexDigitValue(char c);

// One leading "+" skipped, then one "-" negates; up to 8 decimal digits (a ninth digit and what
// follows are ignored); no digits gives 0.
int parseInt(const std::string& text);
// "0x..." and "&#x..." are hexadecimal, "&#..." decimal, "#..." hexadecimal; anything else is
// parseInt. Hexadecimal digits are read up to the first other character.
int parseIntAnyBase(const std::string& text);
// Optional "+" or "-", up to 8 integer digits, then after a "." up to 8 fraction digits, and only
// after the "." an exponent "e" with an optional "-" and up to 8 digits. Read as engineFloat.
float parseFloat(const std::string& text);
// The number read from `text` as the float the engine keeps: one beyond the float range (or the
// NaN an overflowing reading gives) is reported with its text and read as 0, so that no infinity
// or NaN reaches the scene; -0 reads as 0.
float engineFloat(double value, const std::string& text);
// "#RRGGBB" gives red + green * 256 + blue * 65536; any other text its decimal value, clamped to
// the integer range.
int parseColor(const std::string& text);
