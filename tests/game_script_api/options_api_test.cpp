#include "game_api_fixture.h"

#include "scene/node_helpers.h"
#include "scene/node_text.h"
#include "utils/utils_fs.h"

#include <vector>

namespace {

class OptionFunctions : public GameApiTest {
protected:
    // Puts the cursor on the screen point that shows (x, y, 0).
    void moveCursorTo(float x, float y) {
        device->getCursorControl()->setPosition(scene->screenPoint({x, y, 0}));
        getEngine().getInput().updateCursor();
    }
    static CSlider* barOf(const std::string& optionName) {
        CNodeBasement* container = getNodeByName(optionName + "_slider");
        return container != nullptr ? dynamic_cast<CSlider*>(container->getOwner()) : nullptr;
    }
};

TEST_F(OptionFunctions, FullScreenSwitchTogglesAndSavesAndWarnsOnlyTheFirstTime) {
    writeDialog("alert.dlg", "-DialogName:alert_dialog\n[Sprite]\n-Texture:\\gui\\orange.png\n"
                             "-Name:alert_dialog_field\n-Label:?empty\n");
    getEngine().preloadResource(resolveDataPath("dialogs\\alert.dlg"));
    optionNode("option_fullscreen", 4, 1, 0, true);
    CTextNode* label = findTextNode("option_fullscreen");
    ASSERT_NE(label, nullptr);
    const int before = profile()->getFullscreen();

    // A refresh only sets the label.
    run("game_SwitchFullScreen(0);");
    EXPECT_EQ(profile()->getFullscreen(), before);
    EXPECT_EQ(label->getText(), before != 0 ? "Full screen" : "Windowed");
    EXPECT_FALSE(isOpen("alert_dialog"));

    run("game_SwitchFullScreen(1);");
    EXPECT_EQ(profile()->getFullscreen(), before != 0 ? 0 : 1);
    EXPECT_EQ(label->getText(), before != 0 ? "Windowed" : "Full screen");
    EXPECT_NE(savedProfile().find(before != 0 ? "Fullscreen=0\n" : "Fullscreen=1\n"),
              std::string::npos);
    EXPECT_TRUE(isOpen("alert_dialog"));
    ASSERT_NE(findTextNode("alert_dialog_field"), nullptr);
    EXPECT_EQ(findTextNode("alert_dialog_field")->getText(), "Restart the game");

    closeNow("alert_dialog");
    run("game_SwitchFullScreen(1);");
    EXPECT_EQ(profile()->getFullscreen(), before);
    EXPECT_FALSE(isOpen("alert_dialog"));
    EXPECT_THROW(run("game_SwitchFullScreen(\"1\");"), squirrel::SquirrelError);
}

TEST_F(OptionFunctions, CursorSwitchChangesTheProfileEvenWithoutItsOptionNode) {
    const int before = profile()->getWinCursor();
    run("game_SwitchWinCursor(1);");
    EXPECT_EQ(profile()->getWinCursor(), before != 0 ? 0 : 1);
    EXPECT_NE(savedProfile().find(before != 0 ? "WinCursor=0\n" : "WinCursor=1\n"),
              std::string::npos);

    optionNode("option_wincursor", 4, 1, 0, true);
    run("game_SwitchWinCursor(0.5);");
    EXPECT_EQ(profile()->getWinCursor(), before);
    EXPECT_EQ(findTextNode("option_wincursor")->getText(),
              before != 0 ? "System cursor" : "Game cursor");
}

TEST_F(OptionFunctions, VolumeIsTheCursorPlaceOnTheOptionNodeKeptWithinZeroAndOne) {
    // Eight units wide, from x = -4 to 4.
    optionNode("option_musicvol", 8, 1);
    frameAt(kStart);
    moveCursorTo(2, 0);
    run("game_SwitchVolume(1);");
    EXPECT_NEAR(profile()->getMusicVolume(), 0.75f, 0.01f);
    EXPECT_NE(savedProfile().find("MusicVolume=0.7"), std::string::npos);
    // The sound server takes the value with its dead margins of 0.05 at both ends.
    EXPECT_NEAR(getEngine().getSound().getMusicVolume(), (0.75f - 0.05f) / 0.9f, 0.015f);

    // A click just outside the box stores the nearest end, whatever the sound server makes of
    // the value it is handed.
    std::vector<float> handed;
    setVolumeUpdateHook([&handed](float& music, float&) { handed.push_back(music); });
    moveCursorTo(6, 0);
    run("game_SwitchVolume(1);");
    EXPECT_EQ(profile()->getMusicVolume(), 1.0f);
    moveCursorTo(-7, 0);
    run("game_SwitchVolume(1);");
    EXPECT_EQ(profile()->getMusicVolume(), 0.0f);
    EXPECT_EQ(handed, std::vector<float>({1.0f, 0.0f}));
    // The engine's connection, as the engine makes it.
    setVolumeUpdateHook([](float& music, float& effects) {
        getEngine().getSound().setVolumes(0.05f, &music, &effects);
    });
}

TEST_F(OptionFunctions, VolumeNodeGetsOneBarBoundToTheProfileAndRefreshChangesNothing) {
    CNodeBasement* node = optionNode("option_effectvol", 2, 0.5f);
    profile()->setEffectsVolume(0.4f);
    run("game_SwitchEffect(0);");
    EXPECT_EQ(profile()->getEffectsVolume(), 0.4f);
    CSlider* bar = barOf("option_effectvol");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getContainer()->getParent(), node);
    EXPECT_FLOAT_EQ(bar->getContainer()->getPosition().Z, -0.001f);
    // The bar is as wide as the larger side of the node (unit descriptions).
    ASSERT_NE(bar->getFill(), nullptr);
    ASSERT_NE(bar->getBackground(), nullptr);
    EXPECT_EQ(bar->getBackground()->getSize(), irr::core::dimension2df(2, 2));

    // Another refresh keeps the bar; the bar shows the profile's value as it changes.
    run("game_SwitchEffect(0);");
    EXPECT_EQ(barOf("option_effectvol"), bar);
    EXPECT_EQ(node->getChildren().size(), 1u);
    frameAt(kStart);
    EXPECT_NEAR(bar->getFill()->getSize().Width, 0.8f, 0.01f);
    profile()->setEffectsVolume(0.5f);
    frameAt(kStart + 250);
    EXPECT_TRUE(bar->getFill()->isVisible());
    EXPECT_NEAR(bar->getFill()->getSize().Width, 1.0f, 0.01f);
}

TEST_F(OptionFunctions, VolumeSwitchesWithoutTheirOptionNodeDoNothing) {
    profile()->setMusicVolume(0.3f);
    profile()->setEffectsVolume(0.2f);
    run("game_SwitchVolume(1); game_SwitchEffect(1);");
    EXPECT_EQ(profile()->getMusicVolume(), 0.3f);
    EXPECT_EQ(profile()->getEffectsVolume(), 0.2f);
    EXPECT_EQ(getNodeByName("option_musicvol_slider"), nullptr);
    EXPECT_THROW(run("game_SwitchVolume();"), squirrel::SquirrelError);
}

} // namespace
