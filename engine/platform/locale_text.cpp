#include "locale_text.h"

#include <climits>
#include <clocale>
#include <cwchar>

namespace {

std::string formatUtc(std::time_t time, const char* format) {
    std::tm parts;
    gmtime_r(&time, &parts);
    char buffer[128];
    size_t length = std::strftime(buffer, sizeof buffer, format, &parts);
    return std::string(buffer, length);
}

} // namespace

void adoptUserLocale() {
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_TIME, "");
}

std::string formatShortDate(std::time_t time) {
    return formatUtc(time, "%x");
}

std::string formatTime24(std::time_t time) {
    return formatUtc(time, "%H:%M:%S");
}

std::wstring widenText(const std::string& text) {
    std::wstring result;
    std::mbstate_t state{};
    const char* next = text.data();
    const char* end = text.data() + text.size();
    while (next < end) {
        wchar_t wide;
        size_t used = std::mbrtowc(&wide, next, static_cast<size_t>(end - next), &state);
        if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2)) {
            result += static_cast<wchar_t>(static_cast<unsigned char>(*next));
            state = std::mbstate_t{};
            ++next;
        } else if (used == 0) {
            result += L'\0';
            ++next;
        } else {
            result += wide;
            next += used;
        }
    }
    return result;
}

std::string narrowText(const std::wstring& text) {
    std::string result;
    std::mbstate_t state{};
    char buffer[MB_LEN_MAX];
    for (wchar_t wide : text) {
        size_t length = std::wcrtomb(buffer, wide, &state);
        if (length == static_cast<size_t>(-1)) {
            result += static_cast<char>(wide & 0xFF);
            state = std::mbstate_t{};
        } else {
            result.append(buffer, length);
        }
    }
    return result;
}
