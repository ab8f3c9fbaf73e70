#pragma once

#include <string>

// Engine text is bytes in the Windows-1252 code page; the device's GUI and typed characters are
// wide (UTF-32) text. These convert between the two without the process locale, whose UTF-8
// would turn one letter into two bytes.

// Every byte becomes its character (the five bytes the code page leaves undefined map to the
// control characters of the same value, as Windows does).
std::wstring windows1252ToWide(const std::string& text);
// Every character becomes its byte; a character the code page lacks becomes "?".
std::string wideToWindows1252(const std::wstring& text);
