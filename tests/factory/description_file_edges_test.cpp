#include "factory/factory_scene.h"
#include "platform/message_box.h"
#include "scene/node_base.h"
#include "scene/node_utilities.h"
#include "support/message_box_recorder.h"
#include "support/test_game.h"
#include "utils/text_file_check.h"
#include "utils/utils_fs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace std::string_literals;

// Description files (".spr") with bad bytes, cut text and absurd numbers, made into nodes.
class DescriptionFileEdges : public FactoryScene<TestGame> {
protected:
    void SetUp() override {
        program.copyTestImage("orange_16.png", "gui/orange.png");
        FactoryScene::SetUp();
    }

    CNodeBasement* create(const std::string& source) {
        return createSprite(source, 1, 1, irr::core::vector3df(1, 2, 3), nullptr, nullptr,
                            "test:1");
    }

    std::string dataFile(const std::string& name) const {
        return programFolder() + "data\\" + name;
    }

    MessageBoxRecorder boxes;
};

bool isFinite(const irr::core::vector3df& v) {
    return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z);
}

TEST_F(DescriptionFileEdges, AbsurdNumbersGiveAFiniteNodeAndNameTheNumber) {
    program.writeData("gui/huge.spr", "-Texture:orange.png\n-Name:huge\n"
                                      "-Position:x1e999 y-1.0e308 z-0\n-Size:w1.0e39 h3e38\n"
                                      "-Alpha:nan\n-Rotation:1e400\n-Tint:99999999999999999999\n");
    CNodeBasement* node = create("gui\\huge.spr");
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(isFinite(node->getPosition()));
    EXPECT_TRUE(isFinite(node->getRotation()));
    EXPECT_TRUE(std::isfinite(node->getSize().Width));
    EXPECT_TRUE(std::isfinite(node->getSize().Height));
    EXPECT_TRUE(std::isfinite(node->getAlpha()));
    EXPECT_TRUE(boxes.sawText("The number '1e999' is beyond the range of numbers"));
    EXPECT_TRUE(boxes.sawText("The number '-1.0e308' is beyond the range of numbers"));
    EXPECT_TRUE(boxes.sawText("The number '1e400' is beyond the range of numbers"));
}

TEST_F(DescriptionFileEdges, ZeroByteEndsTheDescriptionAtItsLine) {
    program.writeData("gui/zero.spr", "-Texture:orange.png\n-Name:zeroed\n-Alpha:0.\0"
                                      "5\n"s);
    CNodeBasement* node = create("gui\\zero.spr");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(getNodeByName("zeroed"), node);
    EXPECT_FLOAT_EQ(node->getAlpha(), 0.0f);
    EXPECT_TRUE(boxes.sawText("Line 3 of " + dataFile("gui\\zero.spr") + " holds a zero byte"));
}

TEST_F(DescriptionFileEdges, OverlongLineRefusesTheFileWithItsLineAndTheLimit) {
    // A refused description is one without a texture, which the factory cannot make: the first
    // box says why.
    program.writeData("gui/long.spr", "-Texture:orange.png\n-Name:long\n-Hint:" +
                                          std::string(kMaxTextLineBytes, 'h') + "\n");
    EXPECT_EXIT(
        {
            setMessageBoxHook([](const std::string& text, const std::string&, int) {
                fprintf(stderr, "box: %s\n", text.c_str());
                return 1;
            });
            create("gui\\long.spr");
        },
        testing::ExitedWithCode(1),
        "box: Line 3 of .*gui.long\\.spr is longer than 1048576 bytes \\(1 MiB\\), the longest "
        "line a text file may have: the file is not read\n(.|\n)*box: ERROR: Failed to load");
}

TEST_F(DescriptionFileEdges, Utf8FileWithByteOrderMarkReadsItsFirstKeyAndLetters) {
    program.writeData("gui/utf8.spr",
                      "\xEF\xBB\xBF-Name:gr\xC3\xBC\xC3\x9F\n-Texture:orange.png\n");
    CNodeBasement* node = create("gui\\utf8.spr");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(getNodeByName("gr\xFC\xDF"), node);
}

TEST_F(DescriptionFileEdges, Windows1252EdgeBytesAreNameLetters) {
    program.writeData("gui/bytes.spr", "-Texture:orange.png\n-Name:\x81\x8D\x8F\x90\x9D\xFF\xC3\n");
    CNodeBasement* node = create("gui\\bytes.spr");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(getNodeByName("\x81\x8D\x8F\x90\x9D\xFF\xC3"), node);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DescriptionFileEdges, CutFilesMakeWhatTheirWholeKeysSay) {
    // Cut in a key, in a section header, in a macro and in a value.
    program.writeData("gui/cut_key.spr", "-Texture:orange.png\n-Name:cut_key\n-Posi");
    program.writeData("gui/cut_section.spr", "-Texture:orange.png\n-Name:cut_section\n[Spr");
    program.writeData("gui/cut_macro.spr",
                      "-Texture:orange.png\n-Name:cut_macro\n-Alpha:${rnd(0.2,");
    program.writeData("gui/cut_include.spr", "-Texture:orange.png\n-Name:cut_include\n"
                                             "${include(gui\\other.s");
    program.writeData("gui/cut_value.spr", "-Texture:orange.png\n-Name:cut_value\n-Position:x1.");
    for (const char* name : {"cut_key", "cut_section", "cut_macro", "cut_include", "cut_value"}) {
        CNodeBasement* node = create(std::string("gui\\") + name + ".spr");
        ASSERT_NE(node, nullptr) << name;
        EXPECT_EQ(getNodeByName(name), node) << name;
        EXPECT_TRUE(isFinite(node->getPosition())) << name;
    }
}

} // namespace
