#pragma once

#include <string>

// The two ways text markup writes values. Both search the plain text for the name followed by
// "=", so the first occurrence wins wherever it stands.

// The text after name + "=" up to the next ">" (or the end), trimmed; empty when the name does
// not occur. "<color=#ff0000>" gives "#ff0000" for "color".
std::string markupTagValue(const std::string& text, const std::string& name);
// After name + "=": a value in double or single quotes without them, otherwise the text up to
// the next blank or ">"; empty when the attribute does not occur. In `<img src='a b.png' w=2>`,
// "src" gives "a b.png" and "w" gives "2".
std::string markupAttribute(const std::string& text, const std::string& name);
