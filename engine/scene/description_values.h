#pragma once

#include <cstdint>
#include <string>

// Keys and values of the description text format: lines "-Key.Name:value" found by plain
// substring search, so the first occurrence of a key wins wherever it stands.

// The value of `key` in `section`. A key directly followed by a line feed has a multi-line value:
// everything up to the first line feed that is followed by "-" or "[" (or the rest of the text).
// Otherwise the value is the rest of the key's line; a key on a last line without a line feed
// reads as empty. The key counts as present only when its value is not empty.
bool getKeyValue(const std::string& section, const std::string& key, std::string& value);
// The rest of the key's line exactly as it stands (no multi-line rule, no trimming); empty when
// the key is missing or its line has no line feed after it.
std::string getKeyLine(const std::string& section, const std::string& key);

// The value forms. None of them fails: what cannot be read gives 0 (or leaves the default).

// An optional "+", an optional "-" and up to 8 digits from the first character on.
int readDescriptionInt(const std::string& value);
// Leading blanks skipped, then sign, digits, optionally "." and digits, optionally "e", an
// optional "-" and digits. A value holding "," shows the warning box "Warning! whorg float
// delimiter used: %s"; reading stops at the comma.
float readDescriptionFloat(const std::string& value);
// The same number form read at `position` without skipping blanks and without any warning.
float readFloatAt(const std::string& value, size_t position);

// A number written right after the first occurrence of the tag letter anywhere in the value
// ("w64 h32", "x0.5 y-0.25"). Without the letter the target keeps its value and false is
// returned.
bool readTaggedInt(const std::string& value, char tag, int& target);
bool readTaggedFloat(const std::string& value, char tag, float& target);

// Everything after the first occurrence of `marker`, trimmed; false (target unchanged) when the
// marker does not occur.
bool readTailString(const std::string& value, char marker, std::string& target);

// Hexadecimal digits AARRGGBB up to the first other character; no "0x" prefix is understood.
uint32_t readDescriptionColor(const std::string& value);
