#include "dialog_fixture.h"

#include "animators/alifetimeanimators.h"
#include "input/modal_dialog_marker.h"
#include "scene/node_base.h"
#include "utils/utils_fs.h"

namespace {

using DialogFactory = DialogTest;

const char* const kButtonPart = "[Sprite]\n-Texture:\\gui\\orange.png\n-Size:w2 h1\n";

TEST_F(DialogFactory, OpenDialogNamesItsRootAndVisiblePartAndRegistersTheDialog) {
    writeDialog("menu.dlg", std::string("-DialogName:menu\n") + kButtonPart);
    CNodeBasement* root = open("menu.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getParent(), getEngine().rootNode());
    EXPECT_EQ(getNodeByName("menu"), root);
    EXPECT_TRUE(startsWith(root->getName(), "DLG:menu id")) << root->getName();
    EXPECT_EQ(root->getHideCount(), 1);
    irr::scene::ISceneNode* visible = visiblePart(root);
    ASSERT_NE(visible, nullptr);
    EXPECT_EQ(std::string(visible->getName()), std::string("DLGVis:menu ") + root->getName());
    EXPECT_EQ(static_cast<CNodeBasement*>(visible)->getSize(), irr::core::dimension2df(2, 1));
    EXPECT_TRUE(isOpen("menu"));
    // The game's dialog object made the dialog and saw its header, before the visible part.
    ASSERT_EQ(dialogGame->created.size(), 1u);
    EXPECT_EQ(dialogGame->created[0].root, root);
    EXPECT_EQ(dialogGame->created[0].header, "\n-DialogName:menu\n");
    EXPECT_FALSE(dialogGame->created[0].visiblePartMade);
    auto* dialog = dynamic_cast<RecordingDialog*>(root->getOwner());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->FilePath, resolveDataPath("dialogs\\menu.dlg"));
    EXPECT_EQ(dialog->SpritePart, "raw:\\\n-Texture:\\gui\\orange.png\n-Size:w2 h1\n\n");

    closeNow("menu");
    EXPECT_FALSE(isOpen("menu"));
    EXPECT_EQ(getNodeByName("menu"), nullptr);
}

TEST_F(DialogFactory, ReopeningAnOpenDialogClosesTheOldOneAtOnceWithoutFade) {
    writeDialog("menu.dlg", std::string("-DialogName:menu\n"
                                        "-Event.Keyboard.Esc.Pressed:bump(\"esc\");\n") +
                                kButtonPart);
    CNodeBasement* first = open("menu.dlg");
    ASSERT_NE(first, nullptr);
    first->grab();
    CNodeBasement* second = open("menu.dlg");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(getNodeByName("menu"), second);
    // Queued for deletion as it stands, not fading out.
    EXPECT_NE(std::string(first->getName()).find(",DELALREADY"), std::string::npos);
    EXPECT_EQ(countAnimators<CSelfDestructAnimator>(first), 0);

    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(first->getParent(), nullptr);
    first->drop();
    EXPECT_EQ(getEngine().openDialogs().size(), 1u);
    EXPECT_EQ(getNodeByName("menu"), second);
    EXPECT_EQ(getTopEscAction(), "bump(\"esc\");");
    closeNow("menu");
    EXPECT_EQ(getTopEscAction(), "");
}

TEST_F(DialogFactory, PositionKeyMovesOnlyTheNamedAxesAndMacroParametersReachTheHeader) {
    writeDialog("shifted.dlg", std::string("-DialogName:box_${n}\n-Position:x100\n") +
                                   "[Sprite]\n-Texture:\\gui\\orange.png\n-Size:w${w} h1\n");
    CNodeBasement* root = open("shifted.dlg?n=7&w=3", irr::core::vector3df(1, 2, 3));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getPosition(), irr::core::vector3df(101, 2, 3));
    EXPECT_EQ(getNodeByName("box_7"), root);
    EXPECT_FLOAT_EQ(static_cast<CNodeBasement*>(visiblePart(root))->getSize().Width, 3);
    ASSERT_EQ(dialogGame->created.size(), 1u);
    EXPECT_EQ(dialogGame->created[0].macroParams, (std::vector<std::string>{"n=7", "w=3"}));

    writeDialog("all.dlg", "-DialogName:all\n-Position:z-1 y0.5 x-2\n");
    EXPECT_EQ(open("all.dlg", irr::core::vector3df(1, 1, 1))->getPosition(),
              irr::core::vector3df(-1, 1.5f, 0));
}

TEST_F(DialogFactory, FadeInFadesTheWholeDialogOnceOver300Ms) {
    writeDialog("fading.dlg", std::string("-DialogName:fading\n-FadeInEffect:1\n") + kButtonPart);
    CNodeBasement* root = open("fading.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(countAnimators<CFadeValueAnimator>(root), 1);
    auto* visible = static_cast<CNodeBasement*>(visiblePart(root));
    frameAt(kStart + 150);
    EXPECT_NEAR(visible->getAlphaFactor(), 0.5f, 0.1f);
    framesFromTo(kStart + 175, kStart + 400, 25);
    EXPECT_FLOAT_EQ(visible->getAlphaFactor(), 1.0f);
}

TEST_F(DialogFactory, FadeInAddsNoSecondFadeToARootThatAlreadyFades) {
    dialogGame->fadeEmptyNodes = true;
    writeDialog("fading.dlg", std::string("-DialogName:fading\n-FadeInEffect:1\n") + kButtonPart);
    CNodeBasement* root = open("fading.dlg");
    ASSERT_NE(root, nullptr);
    // The game's own fade stays the only one: a second fade would have replaced it.
    EXPECT_EQ(countAnimators<CAlphaFadeAnimator>(root), 1);
    EXPECT_EQ(countAnimators<CFadeValueAnimator>(root), 0);
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_EQ(countAnimators<CAlphaFadeAnimator>(root), 1);
}

// What the created action found when it ran.
struct CreatedActionView {
    int runs = 0;
    bool rootFound = false;
    bool open = false;
    bool visiblePart = false;
    int modalMarkers = 0;
    int fades = 0;
    std::string music;
};
CreatedActionView createdView;

squirrel::Object test_InspectDialog(squirrel::CallContext& call) {
    ++createdView.runs;
    CNodeBasement* root = getNodeByName(call.stringArg(0));
    createdView.rootFound = root != nullptr;
    createdView.open = getEngine().openDialogs().isDialogOpen(call.stringArg(0)) != 0;
    if (root != nullptr) {
        for (irr::scene::ISceneNode* child : root->getChildren()) {
            createdView.visiblePart =
                createdView.visiblePart || startsWith(child->getName(), "DLGVis:");
        }
        for (irr::scene::ISceneNodeAnimator* animator : root->getAnimators()) {
            createdView.modalMarkers += dynamic_cast<CModalDialogMarker*>(animator) ? 1 : 0;
            createdView.fades += dynamic_cast<CFadeValueAnimator*>(animator) ? 1 : 0;
        }
    }
    createdView.music = getEngine().getSound().getMusicName();
    return squirrel::Object();
}

TEST_F(DialogFactory, CreatedActionRunsDuringOpeningWithEverythingInPlace) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    getEngine().getSound().start(1);
    ASSERT_TRUE(getEngine().getSound().isRunning());
    registerCoreFunction(getEngine().getScripting().vm(), "test_InspectDialog", "s",
                         test_InspectDialog);
    createdView = CreatedActionView();
    writeDialog("full.dlg", std::string("-DialogName:full\n-ModalDialog:1\n-FadeInEffect:1\n"
                                        "-BackgroundMusic:theme.ogg\n"
                                        "-Event.Created.Action:test_InspectDialog(\"full\");\n"
                                        "-Event.Destroyed.Action:bump(\"gone\");\n") +
                                kButtonPart);
    CNodeBasement* root = open("full.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(createdView.runs, 1);
    EXPECT_TRUE(createdView.rootFound);
    EXPECT_TRUE(createdView.open);
    EXPECT_TRUE(createdView.visiblePart);
    EXPECT_EQ(createdView.modalMarkers, 1);
    EXPECT_EQ(createdView.fades, 1);
    EXPECT_EQ(createdView.music, "theme.ogg");

    framesFromTo(kStart, kStart + 200, 25);
    EXPECT_EQ(createdView.runs, 1);
    closeNow("full");
    EXPECT_EQ(count("gone"), 1);
    EXPECT_EQ(getEngine().getSound().getMusicName(), "");
}

TEST_F(DialogFactory, DestroyedActionIsSkippedWhenTheEngineIsExiting) {
    writeDialog("leaving.dlg", "-DialogName:leaving\n-Event.Destroyed.Action:bump(\"gone\");\n");
    ASSERT_NE(open("leaving.dlg"), nullptr);
    getEngine().setStage(STAGE_EXITING);
    closeNow("leaving");
    EXPECT_FALSE(isOpen("leaving"));
    EXPECT_EQ(count("gone"), 0);
}

TEST_F(DialogFactory, CloseOtherDialogsClosesTheListedOnesBeforeOpening) {
    for (const char* name : {"a", "b", "c"}) {
        writeDialog(std::string(name) + ".dlg", std::string("-DialogName:") + name + "\n");
        ASSERT_NE(open(std::string(name) + ".dlg"), nullptr);
    }
    writeDialog("d.dlg", "-DialogName:d\n-CloseOtherDialogs:a | c\n");
    ASSERT_NE(open("d.dlg"), nullptr);
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_FALSE(isOpen("a"));
    EXPECT_TRUE(isOpen("b"));
    EXPECT_FALSE(isOpen("c"));
    EXPECT_TRUE(isOpen("d"));
    EXPECT_EQ(getEngine().openDialogs().size(), 2u);
}

TEST_F(DialogFactory, LevelTextIsNeverRegisteredAndTakesNoPartInTheStacks) {
    writeDialog("level.dlg", std::string("-DialogName:level_text\n"
                                         "-Event.Keyboard.Esc.Pressed:bump(\"esc\");\n"
                                         "-Event.OnKey.Action:bump(\"key\");\n") +
                                 kButtonPart);
    CNodeBasement* root = open("level.dlg");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(getNodeByName("level_text"), root);
    EXPECT_NE(visiblePart(root), nullptr);
    EXPECT_FALSE(isOpen("level_text"));
    EXPECT_EQ(getEngine().openDialogs().size(), 0u);
    EXPECT_EQ(getTopEscAction(), "");
    EXPECT_EQ(getTopKeyAction(), "");
}

TEST_F(DialogFactory, SpriteStructureFileIsTheVisiblePartOrJoinsIt) {
    program.writeData("dialogs/parts/panel.spr",
                      "-Texture:\\gui\\orange.png\n-Size:w4 h2\n-Name:panel_${n}\n");
    // No sprite part of its own: the structure alone is the dialog's visible part.
    writeDialog("bare.dlg", "-DialogName:bare\n-DialogSpriteStructure:parts\\panel.spr\n");
    CNodeBasement* bare = open("bare.dlg");
    ASSERT_NE(bare, nullptr);
    auto* panel = static_cast<CNodeBasement*>(visiblePart(bare));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getSize(), irr::core::dimension2df(4, 2));
    auto* dialog = static_cast<CDialogFactory*>(bare->getOwner());
    EXPECT_EQ(dialog->StructureFile, "dialogs\\parts\\panel.spr");
    // Read raw: its macros stay as they are.
    EXPECT_EQ(dialog->SpritePart, "raw:\\\n\n[Sprite]-Texture:\\gui\\orange.png\n-Size:w4 h2\n"
                                  "-Name:panel_${n}\n");

    // With a sprite part, the structure is created beside it below the root.
    writeDialog("both.dlg", std::string("-DialogName:both\n"
                                        "-DialogSpriteStructure:parts\\panel.spr\n") +
                                kButtonPart);
    CNodeBasement* both = open("both.dlg");
    ASSERT_NE(both, nullptr);
    ASSERT_EQ(both->getChildren().size(), 2u);
    EXPECT_EQ(static_cast<CNodeBasement*>(visiblePart(both))->getSize(),
              irr::core::dimension2df(2, 1));
    EXPECT_EQ(static_cast<CNodeBasement*>(*both->getChildren().getLast())->getSize(),
              irr::core::dimension2df(4, 2));
}

TEST_F(DialogFactory, BackgroundImageIsResolvedAgainstTheDialogFile) {
    program.copyTestImage("grey_16.png", "dialogs/back.png");
    writeDialog("backed.dlg", "-DialogName:backed\n-BackgroundImage:back.png\n");
    ASSERT_NE(open("backed.dlg"), nullptr);
    irr::scene::ISceneNode* background = getEngine().backgroundNode();
    ASSERT_NE(background, nullptr);
    EXPECT_NE(std::string(background->getName()).find("back.png"), std::string::npos);
}

} // namespace
