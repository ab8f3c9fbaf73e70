#include "render_fixture.h"

#include <functional>

namespace {

using QuadBatcher = RenderTest;

irr::video::S3DVertex quad[4];

irr::video::SMaterial texturedMaterial(irr::video::ITexture* texture) {
    irr::video::SMaterial material;
    material.setTexture(0, texture);
    return material;
}

TEST_F(QuadBatcher, BatchStaysWithinTheSixteenBitIndexRange) {
    const irr::video::SMaterial material = texturedMaterial(makeTexture("limit"));
    for (int i = 0; i < CQuadBatcher::QuadCapacity; ++i) {
        renderer().addQuad(nullptr, &material, quad);
    }
    renderer().addQuad(nullptr, nullptr, nullptr);
    EXPECT_EQ(renderer().switchCount(), 1);
    EXPECT_EQ(renderer().trigCount(), 65536);

    // One quad more than a batch can address starts a second batch.
    renderer().resetFrameStatistics();
    for (int i = 0; i <= CQuadBatcher::QuadCapacity; ++i) {
        renderer().addQuad(nullptr, &material, quad);
    }
    renderer().addQuad(nullptr, nullptr, nullptr);
    EXPECT_EQ(renderer().switchCount(), 2);
    EXPECT_EQ(renderer().trigCount(), 65540);
}

TEST_F(QuadBatcher, RunOfQuadsIsGrantedWhatTheBatchHoldsAndTheRestStartsTheNext) {
    const irr::video::SMaterial material = texturedMaterial(makeTexture("run"));
    renderer().addQuad(nullptr, &material, quad);
    int granted = 0;
    renderer().appendQuads(nullptr, material, CQuadBatcher::QuadCapacity, granted);
    EXPECT_EQ(granted, CQuadBatcher::QuadCapacity - 1);
    // The rest goes into a fresh batch of the same material.
    renderer().appendQuads(nullptr, material, 5, granted);
    EXPECT_EQ(granted, 5);
    renderer().addQuad(nullptr, nullptr, nullptr);
    EXPECT_EQ(renderer().switchCount(), 2);
    EXPECT_EQ(renderer().trigCount(), 4 * (CQuadBatcher::QuadCapacity + 5));

    // A run of another material starts its own batch and holds all its quads: the next quad
    // comes after them.
    renderer().resetFrameStatistics();
    const irr::video::SMaterial other = texturedMaterial(makeTexture("run-other"));
    renderer().addQuad(nullptr, &material, quad);
    irr::video::S3DVertex* run = renderer().appendQuads(nullptr, other, 3, granted);
    ASSERT_EQ(granted, 3);
    EXPECT_EQ(renderer().appendQuad(nullptr, other), run + 12);
    renderer().addQuad(nullptr, nullptr, nullptr);
    EXPECT_EQ(renderer().switchCount(), 2);
    EXPECT_EQ(renderer().trigCount(), 4 * 5);
}

TEST_F(QuadBatcher, ChangeOfAnyMaterialFieldStartsANewBatch) {
    irr::video::ITexture* texture = makeTexture("base");
    irr::video::ITexture* other = makeTexture("other");
    const std::function<void(irr::video::SMaterial&)> changes[] = {
        [](irr::video::SMaterial& m) { m.MaterialType = irr::video::EMT_TRANSPARENT_ADD_COLOR; },
        [](irr::video::SMaterial& m) { m.DiffuseColor.set(255, 1, 2, 3); },
        [](irr::video::SMaterial& m) { m.Shininess = 5; },
        [](irr::video::SMaterial& m) { m.MaterialTypeParam = 0.5f; },
        [](irr::video::SMaterial& m) { m.MaterialTypeParam2 = 0.5f; },
        [](irr::video::SMaterial& m) { m.Thickness = 3; },
        [](irr::video::SMaterial& m) { m.Wireframe = true; },
        [](irr::video::SMaterial& m) { m.Lighting = false; },
        [](irr::video::SMaterial& m) { m.ZWriteEnable = false; },
        [other](irr::video::SMaterial& m) { m.setTexture(0, other); },
        [other](irr::video::SMaterial& m) { m.setTexture(1, other); },
        [other](irr::video::SMaterial& m) { m.setTexture(3, other); },
        [](irr::video::SMaterial& m) {
            m.TextureLayer[0].TextureWrapU = irr::video::ETC_CLAMP_TO_EDGE;
        },
        [](irr::video::SMaterial& m) { m.TextureLayer[0].BilinearFilter = false; },
        [](irr::video::SMaterial& m) { m.TextureLayer[0].AnisotropicFilter = 4; },
    };
    int index = 0;
    for (const auto& change : changes) {
        irr::video::SMaterial base = texturedMaterial(texture);
        irr::video::SMaterial changed = base;
        change(changed);
        renderer().resetFrameStatistics();
        renderer().addQuad(nullptr, &base, quad);
        renderer().addQuad(nullptr, &base, quad);
        renderer().addQuad(nullptr, &changed, quad);
        renderer().addQuad(nullptr, nullptr, quad);
        renderer().addQuad(nullptr, nullptr, nullptr);
        EXPECT_EQ(renderer().switchCount(), 2) << "change " << index;
        EXPECT_EQ(renderer().trigCount(), 16) << "change " << index;
        ++index;
    }
}

TEST_F(QuadBatcher, QuadsWithoutTextureAreNotDrawnAndLeaveNoLine) {
    irr::video::SMaterial untextured;
    renderer().addQuad(nullptr, &untextured, quad);
    renderer().addQuad(nullptr, nullptr, quad);
    renderer().addQuad(nullptr, nullptr, nullptr);
    EXPECT_EQ(renderer().switchCount(), 0);
    EXPECT_EQ(renderer().trigCount(), 0);
    EXPECT_EQ(renderer().switchList(), "");
}

TEST_F(QuadBatcher, EachDrawCallWritesALineWithTextureParameterAndFilters) {
    irr::video::SMaterial first = texturedMaterial(makeTexture("first.png"));
    first.MaterialTypeParam = 3.7f;
    first.TextureLayer[0].BilinearFilter = true;
    first.TextureLayer[0].AnisotropicFilter = 0;
    first.TextureLayer[0].TrilinearFilter = false;
    irr::video::SMaterial second = texturedMaterial(makeTexture("second.png"));
    second.TextureLayer[0].BilinearFilter = false;
    second.TextureLayer[0].AnisotropicFilter = 8;
    second.TextureLayer[0].TrilinearFilter = true;
    renderer().addQuad(nullptr, &first, quad);
    renderer().addQuad(nullptr, &second, quad);
    renderer().addQuad(nullptr, nullptr, nullptr);
    EXPECT_EQ(renderer().switchList(),
              "first.png mp=3, bili=1.0.0 !!\n    second.png mp=0, bili=0.8.1 !!\n    ");
}

} // namespace
