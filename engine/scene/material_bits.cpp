#include "material_bits.h"

#include <cstdint>
#include <cstring>

namespace {

// The layout these offsets describe: four 32-byte layers, then the material's own fields.
constexpr bool kKnownLayout = sizeof(irr::video::SMaterialLayer) == 32 &&
                              sizeof(irr::video::SMaterial) == 176 && sizeof(void*) == 8 &&
                              __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

// In a layer: the texture pointer at 0; the wrap modes (byte 8), the two filter flags (the low
// bits of byte 9), the anisotropy (10) and the LOD bias (11); the texture matrix pointer at 24.
// Bytes 12 to 23 are padding and the layer's allocator.
constexpr std::size_t kLayerSize = 32;
constexpr std::size_t kLayerSettings = 8;
constexpr std::uint32_t kLayerSettingBits = 0xFFFF03FFu;
constexpr std::size_t kLayerMatrix = 24;
// The material's fields fill bytes 128 to 168, from the type to the last whole byte of flags;
// the flag UseMipMaps is the low bit of byte 169.
constexpr std::size_t kFieldsStart = 128;
constexpr std::size_t kFieldsEnd = 169;
constexpr unsigned char kLastFlagBits = 0x01;

template <typename Word>
Word wordAt(const unsigned char* bytes, std::size_t offset) {
    Word word;
    std::memcpy(&word, bytes + offset, sizeof word);
    return word;
}

template <typename Word>
Word differenceAt(const unsigned char* x, const unsigned char* y, std::size_t offset) {
    return wordAt<Word>(x, offset) ^ wordAt<Word>(y, offset);
}

} // namespace

bool sameMaterialBits(const irr::video::SMaterial& a, const irr::video::SMaterial& b) {
    if constexpr (!kKnownLayout) {
        return false;
    }
    const unsigned char* x = reinterpret_cast<const unsigned char*>(&a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(&b);
    std::uint64_t difference = 0;
    for (std::size_t layer = 0; layer < irr::video::MATERIAL_MAX_TEXTURES; ++layer) {
        const std::size_t start = layer * kLayerSize;
        difference |= differenceAt<std::uint64_t>(x, y, start);
        difference |= differenceAt<std::uint32_t>(x, y, start + kLayerSettings) & kLayerSettingBits;
        difference |= differenceAt<std::uint64_t>(x, y, start + kLayerMatrix);
    }
    for (std::size_t offset = kFieldsStart; offset + 8 <= kFieldsEnd; offset += 8) {
        difference |= differenceAt<std::uint64_t>(x, y, offset);
    }
    difference |= x[kFieldsEnd - 1] ^ y[kFieldsEnd - 1];
    difference |= (x[kFieldsEnd] ^ y[kFieldsEnd]) & kLastFlagBits;
    return difference == 0;
}
