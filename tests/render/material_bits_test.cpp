#include "scene/material_bits.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <new>

namespace {

using irr::video::SMaterial;

// Fills memory where the compiler cannot drop the stores as dead before a constructor runs.
[[gnu::noinline]] void fillBytes(void* memory, unsigned char value, std::size_t size) {
    std::memset(memory, value, size);
    asm volatile("" : : "r"(memory) : "memory");
}

// Every field the library's material comparison reads, each changed from its default (the
// texture matrices, which the library compares only when both layers have one, have a test of
// their own).
std::vector<std::function<void(SMaterial&)>> fieldChanges() {
    std::vector<std::function<void(SMaterial&)>> changes = {
        [](SMaterial& m) { m.MaterialType = irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL; },
        [](SMaterial& m) { m.AmbientColor.setRed(1); },
        [](SMaterial& m) { m.DiffuseColor.setAlpha(254); },
        [](SMaterial& m) { m.EmissiveColor.setBlue(9); },
        [](SMaterial& m) { m.SpecularColor.setGreen(3); },
        [](SMaterial& m) { m.Shininess = 1.5f; },
        [](SMaterial& m) { m.MaterialTypeParam = 0.01f; },
        [](SMaterial& m) { m.MaterialTypeParam2 = -2.0f; },
        [](SMaterial& m) { m.Thickness = 2.0f; },
        [](SMaterial& m) { m.Wireframe = !m.Wireframe; },
        [](SMaterial& m) { m.PointCloud = !m.PointCloud; },
        [](SMaterial& m) { m.GouraudShading = !m.GouraudShading; },
        [](SMaterial& m) { m.Lighting = !m.Lighting; },
        [](SMaterial& m) { m.ZBuffer = irr::video::ECFN_NEVER; },
        [](SMaterial& m) { m.ZWriteEnable = !m.ZWriteEnable; },
        [](SMaterial& m) { m.BackfaceCulling = !m.BackfaceCulling; },
        [](SMaterial& m) { m.FrontfaceCulling = !m.FrontfaceCulling; },
        [](SMaterial& m) { m.FogEnable = !m.FogEnable; },
        [](SMaterial& m) { m.NormalizeNormals = !m.NormalizeNormals; },
        [](SMaterial& m) { m.AntiAliasing = irr::video::EAAM_OFF; },
        [](SMaterial& m) { m.ColorMask = irr::video::ECP_ALPHA; },
        [](SMaterial& m) { m.ColorMaterial = irr::video::ECM_NONE; },
        [](SMaterial& m) { m.BlendOperation = irr::video::EBO_MAX; },
        [](SMaterial& m) { m.PolygonOffsetFactor = 7; },
        [](SMaterial& m) { m.PolygonOffsetDirection = irr::video::EPO_BACK; },
        [](SMaterial& m) { m.UseMipMaps = !m.UseMipMaps; },
    };
    for (irr::u32 layer = 0; layer < irr::video::MATERIAL_MAX_TEXTURES; ++layer) {
        const std::function<void(SMaterial&)> layerChanges[] = {
            [layer](SMaterial& m) {
                m.TextureLayer[layer].Texture = reinterpret_cast<irr::video::ITexture*>(0x1000);
            },
            [layer](SMaterial& m) { m.TextureLayer[layer].TextureWrapU = irr::video::ETC_MIRROR; },
            [layer](SMaterial& m) { m.TextureLayer[layer].TextureWrapV = irr::video::ETC_CLAMP; },
            [layer](SMaterial& m) {
                m.TextureLayer[layer].BilinearFilter = !m.TextureLayer[layer].BilinearFilter;
            },
            [layer](SMaterial& m) {
                m.TextureLayer[layer].TrilinearFilter = !m.TextureLayer[layer].TrilinearFilter;
            },
            [layer](SMaterial& m) { m.TextureLayer[layer].AnisotropicFilter = 16; },
            [layer](SMaterial& m) { m.TextureLayer[layer].LODBias = -3; },
        };
        changes.insert(changes.end(), std::begin(layerChanges), std::end(layerChanges));
    }
    return changes;
}

// The quick comparison must never call two materials alike that the library tells apart: each
// field, in each layer, is seen.
TEST(MaterialBits, EveryFieldTheLibraryComparesCountsInEveryLayer) {
    const std::vector<std::function<void(SMaterial&)>> changes = fieldChanges();
    ASSERT_EQ(changes.size(), 26u + 7u * irr::video::MATERIAL_MAX_TEXTURES);
    for (std::size_t index = 0; index < changes.size(); ++index) {
        const SMaterial base;
        SMaterial changed;
        changes[index](changed);
        ASSERT_TRUE(changed != base) << "change " << index << " is not a change";
        EXPECT_FALSE(sameMaterialBits(changed, base)) << "change " << index;
        EXPECT_FALSE(sameMaterialBits(base, changed)) << "change " << index;
    }
}

// Two layers' texture matrices differ when both have one and their values differ; the quick
// comparison sees the pointers, which a copy never shares.
TEST(MaterialBits, TextureMatricesOfDifferentValueCount) {
    irr::core::matrix4 scaled;
    scaled.setScale(2.0f);
    for (irr::u32 layer = 0; layer < irr::video::MATERIAL_MAX_TEXTURES; ++layer) {
        SMaterial base;
        base.TextureLayer[layer].setTextureMatrix(irr::core::IdentityMatrix);
        SMaterial changed = base;
        changed.TextureLayer[layer].setTextureMatrix(scaled);
        ASSERT_TRUE(changed != base);
        EXPECT_FALSE(sameMaterialBits(changed, base)) << "layer " << layer;
        EXPECT_TRUE(sameMaterialBits(base, base)) << "layer " << layer;
    }
}

// What lies between the fields (padding, the layers' allocators) does not count, so a material
// and its copy compare alike wherever each lives: that is the batcher's usual case.
TEST(MaterialBits, MaterialAndItsCopyAreAlikeWhateverLiesBetweenTheFields) {
    alignas(SMaterial) unsigned char zeroed[sizeof(SMaterial)];
    alignas(SMaterial) unsigned char filled[sizeof(SMaterial)];
    fillBytes(zeroed, 0x00, sizeof zeroed);
    fillBytes(filled, 0xFF, sizeof filled);
    SMaterial* original = new (zeroed) SMaterial();
    SMaterial* copy = new (filled) SMaterial();
    original->setTexture(0, reinterpret_cast<irr::video::ITexture*>(0x2000));
    original->MaterialType = irr::video::EMT_TRANSPARENT_ALPHA_CHANNEL;
    original->Lighting = false;
    original->TextureLayer[1].LODBias = 2;
    *copy = *original;
    EXPECT_TRUE(sameMaterialBits(*original, *copy));
    EXPECT_TRUE(sameMaterialBits(*copy, *original));
    copy->~SMaterial();
    original->~SMaterial();
}

} // namespace
