#pragma once

#include <string>

// The key-value text format: lines made of a key, "=" and a value. Callers put "\n" before the
// text so that every key, also the first, stands after a line break.

// Finds `start` in `text` from `position` and returns what follows it up to `end` (or, with an
// empty `end`, the rest trimmed at the right). The characters are taken from `parallel` at the
// same offsets when one is given (search a lower-cased copy, keep the original case). `position`
// moves past what was read; it becomes -1 when `start` is not found, and the text's length when
// `end` is not found (the result is then empty).
std::string getBetween(const std::string& text, const std::string& start, const std::string& end,
                       int& position, const std::string* parallel = nullptr);

// The value of the first line for `key` (trimmed), up to `terminator`. The key is looked for
// after a line break when the text starts with one; a key on a last line without a terminator
// reads as empty.
std::string getOption(const std::string& text, const std::string& key,
                      const std::string& terminator = "\n", const std::string* parallel = nullptr);

// When the text holds a line for the key (after a line break), sets the target from it and
// returns true; otherwise leaves the target alone and returns false.
bool readStringOption(std::string& target, const std::string& text, const std::string& key);
bool readIntOption(int& target, const std::string& text, const std::string& key);
bool readFloatOption(float& target, const std::string& text, const std::string& key);

// Appends the line key=value and "\n"; integers in decimal, floats with two decimals.
void writeOption(std::string& text, const std::string& key, const std::string& value);
void writeOption(std::string& text, const std::string& key, int value);
void writeOption(std::string& text, const std::string& key, double value);
