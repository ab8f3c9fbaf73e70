#include "descriptions/description_fixture.h"
#include "spriting.h"

#include <gtest/gtest.h>

namespace {

// Parses description texts into the game's record, as the file "gui\test.spr".
class GameDescriptionKeys : public DescriptionTest {
protected:
    CGameSpriteDescription& parse(const std::string& text) {
        description.reset("gui\\test.spr");
        description.parseDescription("\n" + text + "\n", nullptr, nullptr);
        return description;
    }

    CGameSpriteDescription description;
};

TEST_F(GameDescriptionKeys, EveryKeyFillsItsFields) {
    parse("-Texture:a.png\n-Animation.GeometryWarp:a0.25 t1500\n"
          "-GameLogic-FollowCursor:s2.5\n"
          "-Animation.Physics2D:shape[circle] density[1]  \n"
          "-GameLogic-ObjectInfo:h30 a4 b1 t big bad wolf \n"
          "-Animation.Align2Path:2\n");
    EXPECT_EQ(description.WarpTime, 1500);
    EXPECT_FLOAT_EQ(description.WarpAmplitude, 0.25f);
    EXPECT_EQ(description.FollowCursor, 1);
    EXPECT_FLOAT_EQ(description.FollowSpeed, 2.5f);
    EXPECT_EQ(description.PhysicsParameters, "shape[circle] density[1]  ");
    EXPECT_EQ(description.ObjectHealth, 30);
    EXPECT_EQ(description.ObjectAttack, 4);
    EXPECT_EQ(description.ObjectHealthBar, 1);
    EXPECT_EQ(description.ObjectType, "big bad wolf");
    EXPECT_EQ(description.AlignToPath, 2);
    EXPECT_EQ(description.TexturePath, "gui\\a.png");
}

TEST_F(GameDescriptionKeys, MissingKeysAndTagsKeepTheDefaults) {
    parse("-Texture:a.png\n-Animation.GeometryWarp:t200\n-GameLogic-FollowCursor:fast\n"
          "-GameLogic-ObjectInfo:h5\n");
    EXPECT_EQ(description.WarpTime, 200);
    EXPECT_FLOAT_EQ(description.WarpAmplitude, 0);
    EXPECT_EQ(description.FollowCursor, 1);
    EXPECT_FLOAT_EQ(description.FollowSpeed, 0);
    EXPECT_EQ(description.PhysicsParameters, "");
    EXPECT_EQ(description.ObjectHealth, 5);
    EXPECT_EQ(description.ObjectAttack, 0);
    EXPECT_EQ(description.ObjectHealthBar, 0);
    EXPECT_EQ(description.ObjectType, "");
    EXPECT_EQ(description.AlignToPath, 0);

    parse("-Texture:a.png\n");
    EXPECT_EQ(description.WarpTime, 0);
    EXPECT_EQ(description.FollowCursor, 0);
    EXPECT_EQ(description.ObjectHealth, 0);
}

TEST_F(GameDescriptionKeys, TheFirstTStartsTheObjectTypeAndItsLettersAreNotNumbers) {
    parse("-GameLogic-ObjectInfo:h0 tb2a3\n");
    EXPECT_EQ(description.ObjectHealth, 0);
    EXPECT_EQ(description.ObjectType, "b2a3");
    EXPECT_EQ(description.ObjectAttack, 0);
    EXPECT_EQ(description.ObjectHealthBar, 0);

    parse("-GameLogic-ObjectInfo:h12 tha7\n");
    EXPECT_EQ(description.ObjectHealth, 12);
    EXPECT_EQ(description.ObjectAttack, 0);
    EXPECT_EQ(description.ObjectType, "ha7");
}

TEST_F(GameDescriptionKeys, ObjectInfoKeyIsReadWithoutAnyOtherGameLogicText) {
    parse("-Texture:a.png\n-GameLogic-ObjectInfo:h7 a1 tenemy\n");
    EXPECT_EQ(description.ObjectHealth, 7);
    EXPECT_EQ(description.ObjectAttack, 1);
    EXPECT_EQ(description.ObjectType, "enemy");
}

TEST_F(GameDescriptionKeys, KeysOfSubSpritesStayWithThem) {
    parse("-Texture:a.png\n[Sprite]\n-Texture:b.png\n-Animation.Physics2D:shape[box]\n"
          "-GameLogic-ObjectInfo:h3\n");
    EXPECT_EQ(description.PhysicsParameters, "");
    EXPECT_EQ(description.ObjectHealth, 0);
}

} // namespace
