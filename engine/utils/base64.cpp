#include "base64.h"

#include <cstdint>
#include <cstring>

const char* const kBase64Standard =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char* const kBase64FileSafe =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-";

std::string base64Encode(const char* alphabet, const std::string& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t count = bytes.size() - i < 3 ? bytes.size() - i : 3;
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k) {
            group <<= 8;
            if (k < count) {
                group |= static_cast<unsigned char>(bytes[i + k]);
            }
        }
        size_t characters = count + 1;
        for (size_t k = 0; k < 4; ++k) {
            text += k < characters ? alphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return text;
}

std::string base64Decode(const char* alphabet, const std::string& text) {
    std::string bytes;
    uint32_t bits = 0;
    int bitCount = 0;
    for (char c : text) {
        if (c == '=' || c == '\r' || c == '\n') {
            continue;
        }
        const char* at = c == '\0' ? nullptr : std::strchr(alphabet, c);
        if (at == nullptr) {
            return std::string();
        }
        bits = (bits << 6) | static_cast<uint32_t>(at - alphabet);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes += static_cast<char>((bits >> bitCount) & 0xFF);
        }
    }
    return bytes;
}
