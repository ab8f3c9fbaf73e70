#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t getTicks();

// The operating system's name and major version, read once; the NT flag is always set.
bool getOsInfo(std::string& name, int& majorVersion, bool& isNt);

// Special folder ids the engine asks for.
constexpr int kFolderRoamingAppData = 0x1A;
// The system's folder for the id, ending with a backslash; empty when there is none.
std::string getSpecialFolder(int folderId);

std::wstring toWide(const std::string& text);
std::string toNarrow(const std::wstring& text);

// The time (24-hour clock) and the short date of the given UTC time, or of now when none.
std::string timeText(std::time_t time = -1);
std::string dateText(std::time_t time = -1);

// The key's state as the input module saw it; 0 for every key while the game is paused
// (pause level 2 or more).
int isKeyDown(int virtualKey);
