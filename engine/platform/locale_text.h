#pragma once

#include <ctime>
#include <string>

// Sets the process locale from the environment for character conversion and date texts; numbers
// keep the "C" form so that files always hold "0.33", never "0,33".
void adoptUserLocale();

// The short date of the locale ("%x") and the 24-hour time ("%H:%M:%S") of a UTC time.
std::string formatShortDate(std::time_t time);
std::string formatTime24(std::time_t time);

// Conversion between the engine's 8-bit text and wide text in the process locale. Bytes that do
// not convert are taken one to one, so no text is lost.
std::wstring widenText(const std::string& text);
std::string narrowText(const std::wstring& text);
