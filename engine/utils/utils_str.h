#pragma once

#include <string>
#include <vector>

// Text helpers shared by every part of the engine that reads or writes text. Engine text is the
// bytes of std::string; find operations return -1 when nothing is found.

// Index of `what` in `text` at or after `start`, or -1.
int find(const std::string& text, const std::string& what, int start = 0);
// Index of the character at or after `start`, or -1.
int findChar(const std::string& text, char c, int start = 0);

// Every occurrence of `from` replaced by `to`, scanning left to right without rescanning the
// inserted text. An empty `from` leaves the text as it is.
std::string replaceAll(const std::string& text, const std::string& from, const std::string& to);
// Replaces the first `count` occurrences (all when `count` is negative) in place; returns how many
// were replaced.
int replaceN(std::string& text, const std::string& from, const std::string& to, int count);

// The first / last `count` characters (the whole text when it is shorter; "" for count <= 0).
std::string left(const std::string& text, int count);
std::string right(const std::string& text, int count);
// The characters from `start`, `count` of them or up to the end when `count` is negative.
std::string mid(const std::string& text, int start, int count = -1);

// White space (blank, tab, CR, LF, vertical tab, form feed) removed at one or both ends.
std::string trimLeft(const std::string& text);
std::string trimRight(const std::string& text);
std::string trim(const std::string& text);

// ASCII letters changed; other bytes stay.
std::string toLower(const std::string& text);
std::string toUpper(const std::string& text);

// True when `text` is at least as long as `prefix` and begins with it.
bool startsWith(const std::string& text, const std::string& prefix);

// printf-style formatting into a new string.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// Decimal text of the integer, with a minus sign for negatives.
std::string intToText(long long value);
