#include "wave_actors.h"

#include "factory/factory_scene.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "support/test_game.h"

namespace {

class WaveActorCreation : public FactoryScene<TestGame> {
protected:
    void SetUp() override {
        program.copyTestImage("grey_16.png", "actors/grey.png");
        program.writeData("actors/rock.spr", "-Texture:grey.png\n-Name:rock\n");
        program.writeData("actors/tree.spr", "-Texture:grey.png\n-Name:tree\n");
        FactoryScene::SetUp();
    }
};

TEST_F(WaveActorCreation, AreCreatedAtTheirPlacesAndDepths) {
    CNodeBasement* root = createEmptyNode(nullptr, 0, irr::core::vector3df(0, 0, 0));
    std::vector<WaveActor> actors =
        readWaveActors("Actor:rock:x1 y2 w0.5 h0.25\nActor:tree r[90]:x-1 y0 w1 h1\n");
    ASSERT_NE(createWaveActors(actors, root, program.folder().engine() + "data\\levels\\"),
              nullptr);

    CNodeBasement* rock = getNodeByName("rock");
    CNodeBasement* tree = getNodeByName("tree");
    ASSERT_NE(rock, nullptr);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(rock->getPosition(), irr::core::vector3df(40, 80, 0));
    EXPECT_EQ(rock->getSize(), irr::core::dimension2df(20, 10));
    EXPECT_EQ(rock->getLocalDepth(), 0);
    EXPECT_EQ(tree->getPosition(), irr::core::vector3df(-40, 0, 0));
    EXPECT_EQ(tree->getLocalDepth(), -1);
    EXPECT_EQ(createWaveActors({}, root, ""), nullptr);
}

} // namespace
