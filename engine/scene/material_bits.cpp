#include "material_bits.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// The layout the mask below describes: four 32-byte layers, then the material's own fields.
constexpr std::size_t kMaterialSize = 176;
constexpr std::size_t kLayers = 4;
constexpr std::size_t kLayerSize = 32;
constexpr bool kKnownLayout = sizeof(irr::video::SMaterial) == kMaterialSize &&
                              sizeof(irr::video::SMaterialLayer) == kLayerSize &&
                              irr::video::MATERIAL_MAX_TEXTURES == kLayers && sizeof(void*) == 8 &&
                              __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

// The bits of a material that hold fields the library's comparison reads. In a layer: the
// texture pointer (bytes 0 to 7), the wrap modes (8), the two filter flags (the low bits of 9),
// the anisotropy (10), the LOD bias (11) and the texture matrix pointer (24 to 31); bytes 12 to
// 23 are padding and the layer's allocator. After the layers, bytes 128 to 168 hold the type,
// colours, parameters and flags, and the low bit of byte 169 the flag UseMipMaps.
constexpr std::array<unsigned char, kMaterialSize> fieldBits() {
    std::array<unsigned char, kMaterialSize> bits{};
    for (std::size_t layer = 0; layer < kLayers; ++layer) {
        const std::size_t start = layer * kLayerSize;
        for (std::size_t i = 0; i < 12; ++i) {
            bits[start + i] = 0xFF;
        }
        bits[start + 9] = 0x03;
        for (std::size_t i = 24; i < 32; ++i) {
            bits[start + i] = 0xFF;
        }
    }
    for (std::size_t i = kLayers * kLayerSize; i < 169; ++i) {
        bits[i] = 0xFF;
    }
    bits[169] = 0x01;
    return bits;
}

alignas(16) constexpr std::array<unsigned char, kMaterialSize> kFieldBits = fieldBits();

typedef std::uint64_t Chunk __attribute__((vector_size(16)));

Chunk chunkAt(const unsigned char* bytes, std::size_t offset) {
    Chunk chunk;
    std::memcpy(&chunk, bytes + offset, sizeof chunk);
    return chunk;
}

} // namespace

bool sameMaterialBits(const irr::video::SMaterial& a, const irr::video::SMaterial& b) {
    if constexpr (!kKnownLayout) {
        return false;
    }
    const unsigned char* x = reinterpret_cast<const unsigned char*>(&a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(&b);
    Chunk difference = {0, 0};
#pragma GCC unroll 11
    for (std::size_t offset = 0; offset < kMaterialSize; offset += sizeof(Chunk)) {
        difference |=
            (chunkAt(x, offset) ^ chunkAt(y, offset)) & chunkAt(kFieldBits.data(), offset);
    }
    return (difference[0] | difference[1]) == 0;
}
