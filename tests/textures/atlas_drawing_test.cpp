#include "textures/texture_test.h"

#include "scene/texture_cache.h"
#include "scene/texture_lists.h"

using namespace irr;

namespace {

const video::SColor background(255, 40, 60, 80);
const video::SColor border(255, 255, 0, 255);
const video::SColor inside(255, 0, 200, 0);
const video::SColor mark(255, 0, 0, 255);
const video::SColor neighbour(255, 255, 220, 0);

} // namespace

using AtlasDrawingTest = OpenGLTextureTest;

TEST_F(AtlasDrawingTest, AtlasCellDrawnWithItsRegionShowsTheImageWithoutItsBorder) {
    // 64 by 64: a magenta border round a green inside whose first pixel is a blue mark; a yellow
    // image lies right beside it on the page.
    writeImage("lists\\framed.png", 64, 64, [](u32 x, u32 y) {
        if (x == 0 || y == 0 || x == 63 || y == 63) {
            return border;
        }
        return x == 1 && y == 1 ? mark : inside;
    });
    writeSolidImage("lists\\beside.png", 64, 64, neighbour);
    loadTextureLists("lists\\atlas.cfg", "[List]\nframed.png\nbeside.png\n", "", false);
    const TextureRegion region = getTextureRegion("lists\\framed.png");
    ASSERT_TRUE(region.hasTexture());
    ASSERT_EQ(region.Texture->getSize(), core::dimension2du(2048, 2048));

    // Once pixel for pixel at (10, 10), once twice as large at (80, 10).
    device.beginFrame(background);
    const core::recti small(10, 10, 72, 72);
    const core::recti large(80, 10, 204, 134);
    device.drawQuad(small, quadMaterial(video::EMT_SOLID, region.Texture), 0xFFFFFFFF, region.UV);
    device.drawQuad(large, quadMaterial(video::EMT_SOLID, region.Texture), 0xFFFFFFFF, region.UV);
    video::IImage* frame = device.captureAndEndFrame();
    ASSERT_NE(frame, nullptr);

    EXPECT_TRUE(pixelNear(frame, 10, 10, mark));
    EXPECT_TRUE(pixelNear(frame, 11, 11, inside));
    EXPECT_TRUE(pixelNear(frame, 80, 10, mark));
    EXPECT_TRUE(pixelNear(frame, 81, 11, mark));
    EXPECT_TRUE(pixelNear(frame, 82, 12, inside));
    for (const core::recti& quad : {small, large}) {
        // Every pixel along the quad's edges shows the inside, never the border or the neighbour.
        const s32 left = quad.UpperLeftCorner.X;
        const s32 top = quad.UpperLeftCorner.Y;
        const s32 right = quad.LowerRightCorner.X - 1;
        const s32 bottom = quad.LowerRightCorner.Y - 1;
        for (s32 x = left + 2; x <= right; ++x) {
            EXPECT_TRUE(pixelNear(frame, x, top, inside));
            EXPECT_TRUE(pixelNear(frame, x, bottom, inside));
        }
        for (s32 y = top + 2; y <= bottom; ++y) {
            EXPECT_TRUE(pixelNear(frame, left, y, inside));
            EXPECT_TRUE(pixelNear(frame, right, y, inside));
        }
        EXPECT_TRUE(pixelNear(frame, left - 1, top + 20, background));
        EXPECT_TRUE(pixelNear(frame, right + 1, top + 20, background));
    }
    frame->drop();
}
