#include "text_fixture.h"

#include "animators/afadeanimators.h"
#include "scene/anchor_table.h"
#include "scene/node_sprite.h"

class TextCreation : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        program.copyTestImage("orange_16.png", "gui/dot.png");
    }

    // The inline images the node has made that are still in the scene.
    static std::vector<CNodeBasement*> imagesOf(CTextNode* node) {
        std::vector<CNodeBasement*> images;
        for (int id : node->getImageIds()) {
            if (CNodeBasement* image = getNodeById(id)) {
                images.push_back(image);
            }
        }
        return images;
    }
    static int childrenNamed(irr::scene::ISceneNode* parent, const std::string& start) {
        int count = 0;
        for (irr::scene::ISceneNode* child : parent->getChildren()) {
            count += startsWith(child->getName(), start) ? 1 : 0;
        }
        return count;
    }
};

TEST_F(TextCreation, TwoImagesOnOneLineAreMadeOnceAndMadeAgainAfterSetText) {
    const std::string text = "<img src='gui\\dot.png' w=2 h=1 x=1 y=0.5> "
                             "<img src=gui\\dot.png rotation=90 alpha=0.5>\nhello";
    CTextNode* node = makeText(text);
    frame();
    std::vector<CNodeBasement*> images = imagesOf(node);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0]->getParent(), node);
    EXPECT_EQ(images[0]->getSize(), irr::core::dimension2df(2, 1));
    EXPECT_EQ(images[0]->getPosition(), irr::core::vector3df(1, 0.5f, 0));
    EXPECT_EQ(std::string(images[0]->getName()),
              format("TEXTIMG_gui\\dot.png_%i", node->getImageIds()[0]));
    EXPECT_EQ(images[1]->getSize(), irr::core::dimension2df(1, 1));
    EXPECT_FLOAT_EQ(images[1]->getAlpha(), 0.5f);
    auto* turned = dynamic_cast<CSpriteNode*>(images[1]);
    ASSERT_NE(turned, nullptr);
    EXPECT_NEAR(turned->getFlatRotation(), irr::core::PI / 2, 1e-5f);

    frame();
    frame();
    EXPECT_EQ(childrenNamed(node, "TEXTIMG_"), 2);

    const std::vector<int> oldIds = node->getImageIds();
    node->setText(text);
    EXPECT_TRUE(node->getImageIds().empty());
    frame();
    ASSERT_EQ(imagesOf(node).size(), 2u);
    EXPECT_NE(node->getImageIds(), oldIds);
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(childrenNamed(node, "TEXTIMG_"), 2);
}

TEST_F(TextCreation, ImageThatMakesNoSpriteIsSkipped) {
    program.writeData("gui/words.spr", "-Text:?words\n");
    CTextNode* node = makeText("<img src='gui\\words.spr'><img src='gui\\dot.png'>\nhi");
    frame();
    EXPECT_EQ(node->getImageIds().size(), 1u);
}

TEST_F(TextCreation, ImageEffectsReachTheGameAndFadesRunToTheirAlpha) {
    CTextNode* node = makeText("<img src='gui\\dot.png' oncreate=delay ondestroy='sizeout' "
                               "alpha=0.8 alphaTime=500>");
    frameAt(1000);
    std::vector<CNodeBasement*> images = imagesOf(node);
    ASSERT_EQ(images.size(), 1u);
    ASSERT_EQ(game->hooks.size(), 1u);
    EXPECT_EQ(game->hooks[0].node, images[0]);
    EXPECT_EQ(game->hooks[0].text, "delay");
    EXPECT_TRUE(game->hooks[0].atCreation);
    EXPECT_EQ(images[0]->getOnDestroyText(), "sizeout");
    for (irr::u32 time = 1025; time <= 1600; time += 25) {
        frameAt(time);
    }
    EXPECT_NEAR(images[0]->getAlpha(), 0.8f, 1e-4f);
}

TEST_F(TextCreation, ImageAtAnAnchorTakesItsPlaceSizeAndParent) {
    CNodeBasement* holder = createEmptyNode(nullptr, 0, irr::core::vector3df(0, 0, 0));
    setNodeName(holder, "image-holder");
    defineAnchor("image-spot", irr::core::vector3df(3, 4, 0), irr::core::dimension2df(2, 2),
                 "image-holder");
    CTextNode* node = makeText("<img src='gui\\dot.png' anchor=image-spot w=1 x=0.5>");
    frame();
    std::vector<CNodeBasement*> images = imagesOf(node);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0]->getParent(), holder);
    EXPECT_EQ(images[0]->getSize(), irr::core::dimension2df(3, 2));
    EXPECT_EQ(images[0]->getPosition(), irr::core::vector3df(3.5f, 4, 0));
}

TEST_F(TextCreation, SoundPlaysOncePerSetTextAndNamelessSoundsAreIgnored) {
    CTextNode* node = makeText("<sound=click>\n<sound=>\n<sound=doubleclick>\nhi");
    frame();
    frame();
    frame();
    EXPECT_EQ(played, (std::vector<std::string>{"click", "doubleclick"}));
    node->setText("<sound=doubleclick>\n<sound=click>\nhi");
    frame();
    frame();
    EXPECT_EQ(played, (std::vector<std::string>{"click", "doubleclick", "doubleclick", "click"}));
}

TEST_F(TextCreation, FirstFrameTagsRunOnceEvenWhenAnEffectStopsTheDrawing) {
    CTextNode* node = makeText("<font-effect:stopper>\nfirst\n<img src='gui\\dot.png'>\nsecond");
    frame();
    frame();
    frame();
    EXPECT_EQ(node->getImageIds().size(), 1u);
    EXPECT_EQ(childrenNamed(node, "TEXTIMG_"), 1);
    // Every frame stopped at the first line: three per-line calls and no characters.
    EXPECT_EQ(callsOf(1).size(), 3u);
    EXPECT_TRUE(callsOf(0).empty());
}

TEST_F(TextCreation, EffectTagAttachesTheNamedEffectAndAnUnknownNameRemovesIt) {
    CTextNode* node = makeText("<font-effect:jumper>\nhi");
    frame();
    EXPECT_NE(dynamic_cast<CJumperEffect*>(node->getEffect()), nullptr);
    EXPECT_EQ(node->getEffect()->nodeId, node->getID());
    EXPECT_EQ(node->getEffect()->node, node);
    node->attachEffect(new CTyperEffect(), 3);
    EXPECT_EQ(node->getEffect()->value, 3);
    node->setText("<font-effect:no-such-effect>\nhi");
    frame();
    EXPECT_EQ(node->getEffect(), nullptr);
}

TEST_F(TextCreation, FrameTagMakesACanvasAtTheOffset) {
    program.writeData("gui/canvas_corner.spr", "-Texture:\\gui\\dot.png\n");
    program.writeData("gui/canvas_top.spr", "-Texture:\\gui\\dot.png\n");
    program.writeData("gui/canvas_edge.spr", "-Texture:\\gui\\dot.png\n");
    program.copyTestImage("orange_16.png", "gui/canvas_bg.png");
    CTextNode* node = makeText("<d dx=1>\n<frame x=0.5 y=2 w=4 h=3>\nhi");
    frame();
    frame();
    std::vector<irr::scene::ISceneNode*> canvases;
    for (irr::scene::ISceneNode* child : node->getChildren()) {
        if (std::string(child->getName()).find(" [fld]") != std::string::npos) {
            canvases.push_back(child);
        }
    }
    ASSERT_EQ(canvases.size(), 1u);
    EXPECT_EQ(canvases[0]->getPosition(), irr::core::vector3df(1.5f, 2, 0));
}
