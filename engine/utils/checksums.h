#pragma once

#include <string>

// The MD5 digest of the text's bytes as 32 lower-case hexadecimal digits.
std::string md5Hex(const std::string& text);

// An Adler-32 style sum whose two sums start at 11 and 13; identifies a tooltip text in profiles.
int tooltipChecksum(const std::string& bytes);
