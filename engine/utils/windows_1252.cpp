#include "windows_1252.h"

namespace {

// The characters of the bytes 0x80 to 0x9F; every other byte is the character of its value.
const wchar_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char byteOf(wchar_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<char>(character);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControlRange[i] == character) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

} // namespace

std::wstring windows1252ToWide(const std::string& text) {
    std::wstring result;
    result.reserve(text.size());
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        result += byte >= 0x80 && byte < 0xA0 ? kHighControlRange[byte - 0x80]
                                              : static_cast<wchar_t>(byte);
    }
    return result;
}

std::string wideToWindows1252(const std::wstring& text) {
    std::string result;
    result.reserve(text.size());
    for (wchar_t character : text) {
        result += byteOf(character);
    }
    return result;
}
