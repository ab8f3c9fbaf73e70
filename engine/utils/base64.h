#pragma once

#include <string>

// The two Base64 alphabets the engine writes; both pad with "=".
extern const char* const kBase64Standard;
// Safe in file names and URLs: "_" and "-" in place of "+" and "/".
extern const char* const kBase64FileSafe;

// Each group of 3 bytes gives 4 characters of the alphabet; the last group is completed with zero
// bits and "=" is appended up to a multiple of 4 characters. Empty input gives "".
std::string base64Encode(const char* alphabet, const std::string& bytes);
// Characters of the alphabet give their 6-bit values; "=", CR and LF are skipped; any other
// character makes the whole result empty. The result may hold zero bytes.
std::string base64Decode(const char* alphabet, const std::string& text);
