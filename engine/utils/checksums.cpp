#include "checksums.h"

#include "utils/utils_str.h"

#include <cstdint>

namespace {

// Per-round shift amounts and sine-derived constants of the MD5 algorithm.
constexpr uint32_t kShifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                  5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                  4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                  6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t rotateLeft(uint32_t value, uint32_t count) {
    return (value << count) | (value >> (32 - count));
}

void md5Block(uint32_t state[4], const unsigned char* block) {
    uint32_t words[16];
    for (int i = 0; i < 16; ++i) {
        words[i] = static_cast<uint32_t>(block[i * 4]) |
                   static_cast<uint32_t>(block[i * 4 + 1]) << 8 |
                   static_cast<uint32_t>(block[i * 4 + 2]) << 16 |
                   static_cast<uint32_t>(block[i * 4 + 3]) << 24;
    }
    uint32_t a = state[0];
    uint32_t b = state[1];
    uint32_t c = state[2];
    uint32_t d = state[3];
    for (int i = 0; i < 64; ++i) {
        uint32_t mixed;
        int wordIndex;
        if (i < 16) {
            mixed = (b & c) | (~b & d);
            wordIndex = i;
        } else if (i < 32) {
            mixed = (d & b) | (~d & c);
            wordIndex = (5 * i + 1) % 16;
        } else if (i < 48) {
            mixed = b ^ c ^ d;
            wordIndex = (3 * i + 5) % 16;
        } else {
            mixed = c ^ (b | ~d);
            wordIndex = (7 * i) % 16;
        }
        uint32_t rotated = rotateLeft(a + mixed + kSines[i] + words[wordIndex], kShifts[i]);
        a = d;
        d = c;
        c = b;
        b = b + rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

} // namespace

std::string md5Hex(const std::string& text) {
    uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    // The message, a 0x80 byte, zero bytes up to 56 mod 64, then the bit length (little endian).
    std::string padded = text;
    padded += static_cast<char>(0x80);
    while (padded.size() % 64 != 56) {
        padded += '\0';
    }
    uint64_t bitLength = static_cast<uint64_t>(text.size()) * 8;
    for (int i = 0; i < 8; ++i) {
        padded += static_cast<char>((bitLength >> (8 * i)) & 0xFF);
    }
    for (size_t offset = 0; offset < padded.size(); offset += 64) {
        md5Block(state, reinterpret_cast<const unsigned char*>(padded.data()) + offset);
    }
    std::string digest;
    for (uint32_t word : state) {
        for (int i = 0; i < 4; ++i) {
            digest += format("%02x", (word >> (8 * i)) & 0xFF);
        }
    }
    return digest;
}

int tooltipChecksum(const std::string& bytes) {
    constexpr uint32_t kModulus = 65521;
    constexpr size_t kBlock = 5552;
    uint32_t first = 11;
    uint32_t second = 13;
    size_t position = 0;
    while (position < bytes.size()) {
        size_t blockEnd = position + kBlock < bytes.size() ? position + kBlock : bytes.size();
        for (; position < blockEnd; ++position) {
            first += static_cast<unsigned char>(bytes[position]);
            second += first;
        }
        first %= kModulus;
        second %= kModulus;
    }
    return static_cast<int>((second % kModulus) << 16 | (first % kModulus));
}
