#include "eyecandy_scene.h"
#include "eyecandyanimators.h"
#include "object_info.h"
#include "scene/node_sprite.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class EyeCandyAnimators : public EyeCandyScene {
protected:
    CSpriteNode* createSpriteFrom(const std::string& keys) {
        CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(
            create("candy", "-Texture:orange.png\n-Size:w2 h2\n" + keys));
        EXPECT_NE(sprite, nullptr);
        return sprite;
    }
};

TEST_F(EyeCandyAnimators, WarpWithoutPeriodIsNeverCreated) {
    CSpriteNode* sprite = createSpriteFrom("-Animation.GeometryWarp:t0 a1\n");
    ASSERT_NE(sprite, nullptr);
    framesFromTo(kStart, kStart + 500, 50);
    EXPECT_EQ(animatorOf<CGeometryWarpAnimator>(sprite), nullptr);
    EXPECT_FALSE(sprite->areCornerOffsetsEnabled());
}

TEST_F(EyeCandyAnimators, WarpMovesEveryCornerWithinTheAmplitude) {
    const float amplitude = 0.4f;
    CSpriteNode* sprite = createSpriteFrom("-Animation.GeometryWarp:t300 a0.4\n");
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(animatorOf<CGeometryWarpAnimator>(sprite), nullptr);

    irr::core::vector3df first[4];
    bool moved[4] = {};
    for (irr::u32 time = kStart; time <= kStart + 6000; time += 30) {
        frameAt(time);
        ASSERT_TRUE(sprite->areCornerOffsetsEnabled());
        for (int corner = 0; corner < 4; ++corner) {
            const irr::core::vector3df& offset = sprite->getCornerOffset(corner);
            EXPECT_GE(offset.X, -1e-4f);
            EXPECT_LE(offset.X, amplitude + 1e-4f);
            EXPECT_GE(offset.Y, -1e-4f);
            EXPECT_LE(offset.Y, amplitude + 1e-4f);
            EXPECT_EQ(offset.Z, 0);
            if (time == kStart) {
                first[corner] = offset;
            } else if (offset.getDistanceFrom(first[corner]) > 0.01f) {
                moved[corner] = true;
            }
        }
    }
    for (int corner = 0; corner < 4; ++corner) {
        EXPECT_TRUE(moved[corner]) << "corner " << corner;
    }
    // The corners wobble independently of each other.
    EXPECT_NE(sprite->getCornerOffset(0), sprite->getCornerOffset(1));
    EXPECT_NE(sprite->getCornerOffset(2), sprite->getCornerOffset(3));
}

TEST_F(EyeCandyAnimators, AlignedSpriteKeepsItsTurnForMovesBelowTheThreshold) {
    CSpriteNode* sprite = createSpriteFrom("-Animation.Align2Path:1\n");
    ASSERT_NE(sprite, nullptr);
    ASSERT_NE(animatorOf<CAlignToPathAnimator>(sprite), nullptr);
    sprite->setFlatRotation(0.7f);
    frameAt(kStart);

    const irr::core::vector3df start = sprite->getPosition();
    sprite->setPosition(start + irr::core::vector3df(0.03f, 0.03f, 0));
    frameAt(kStart + 50);
    EXPECT_FLOAT_EQ(sprite->getFlatRotation(), 0.7f);

    // Small moves add up from the last position the sprite was turned at.
    sprite->setPosition(start + irr::core::vector3df(0, 0.06f, 0));
    frameAt(kStart + 100);
    EXPECT_NEAR(sprite->getFlatRotation(), irr::core::PI / 2, 1e-4f);
}

TEST_F(EyeCandyAnimators, AlignedSpriteFacesTheWayItMoves) {
    CSpriteNode* sprite = createSpriteFrom("-Animation.Align2Path:1\n");
    ASSERT_NE(sprite, nullptr);
    CSpriteNode* reference = createSpriteFrom("");
    ASSERT_NE(reference, nullptr);
    frameAt(kStart);

    // Right: the sprite's X axis stays along +X; up: it is turned a quarter counter-clockwise.
    irr::core::vector3df position = sprite->getPosition() + irr::core::vector3df(2, 0, 0);
    sprite->setPosition(position);
    frameAt(kStart + 50);
    EXPECT_NEAR(sprite->getFlatRotation(), 0, 1e-4f);
    position += irr::core::vector3df(0, 3, 0);
    sprite->setPosition(position);
    frameAt(kStart + 100);
    EXPECT_NEAR(sprite->getFlatRotation(), irr::core::PI / 2, 1e-4f);

    // Any other direction: the turn that placing the sprite between the two points gives.
    const irr::core::vector3df moves[] = {{-1, -0.5f, 0}, {0.3f, -2, 0}, {-0.2f, 0.1f, 0}};
    irr::u32 time = kStart + 100;
    for (const irr::core::vector3df& move : moves) {
        reference->placeBetween(position, position + move, 0, false, true);
        position += move;
        sprite->setPosition(position);
        time += 50;
        frameAt(time);
        EXPECT_NEAR(sprite->getFlatRotation(), reference->getFlatRotation(), 1e-4f);
    }
}

TEST_F(EyeCandyAnimators, GameKeysAttachInTheirOrder) {
    CNodeBasement* node = create("all", "-Texture:orange.png\n-Animation.GeometryWarp:t500 a0.2\n"
                                        "-Animation.Align2Path:1\n-GameLogic-ObjectInfo:h5 a1\n");
    ASSERT_NE(node, nullptr);
    int warp = -1;
    int align = -1;
    int info = -1;
    int index = 0;
    for (irr::scene::ISceneNodeAnimator* animator : node->getAnimators()) {
        if (dynamic_cast<CGeometryWarpAnimator*>(animator)) {
            warp = index;
        } else if (dynamic_cast<CAlignToPathAnimator*>(animator)) {
            align = index;
        } else if (dynamic_cast<CObjectInfoAnimator*>(animator)) {
            info = index;
        }
        ++index;
    }
    ASSERT_GE(warp, 0);
    EXPECT_LT(warp, align);
    EXPECT_LT(align, info);
}

} // namespace
