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

// The list's items in order, the separator put before each item when the text built so far is
// not empty (so empty leading items leave no separator and none follows the last item).
std::string joinList(const std::vector<std::string>& items, char separator);
// The pieces between separators; empty pieces are dropped unless `keepEmpty`.
std::vector<std::string> splitList(const std::string& text, char separator, bool keepEmpty);

// Makes a text usable as a file name: characters that file systems or shells treat specially
// become "_", runs of "_" and of blanks shrink to one, white space and then "_" are removed at
// both ends.
void sanitizeFileName(std::string& text);

// True when the whole text matches the pattern: "*" any run of characters (also none), "?" one
// character, anything else itself (case-sensitive).
bool wildcardMatch(const std::string& text, const std::string& pattern);

// Every byte as "%" and two upper-case hexadecimal digits.
std::string urlEscape(const std::string& text);
// "%" with two hexadecimal digits becomes that byte and "+" a blank; everything else, also a "%"
// without two hexadecimal digits after it, stays as it is.
std::string urlUnescape(const std::string& text);

// The first character and each one after a separator (blank - _ : , . \ /) upper-cased, all
// others lower-cased; with `dropSeparators` the separators are left out.
std::string titleCase(const std::string& text, bool dropSeparators);

// Bit i is set when the i-th character from the end is not "0" ("101" gives 5); characters
// beyond the 32nd from the end are ignored.
int bitsFromString(const std::string& text);
