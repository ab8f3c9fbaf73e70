#include "dialog_fixture.h"

#include <cstdlib>

namespace {

using DialogStacks = DialogTest;

TEST_F(DialogStacks, EscapeAndKeyActionsBelongToTheNewestDialogUntilItCloses) {
    writeDialog("older.dlg", "-DialogName:older\n-Event.Keyboard.Esc.Pressed:escOlder();\n"
                             "-Event.OnKey.Action:keyOlder\n");
    writeDialog("newer.dlg", "-DialogName:newer\n-Event.Keyboard.Esc.Pressed:escNewer();\n");
    writeDialog("silent.dlg", "-DialogName:silent\n");
    ASSERT_NE(open("older.dlg"), nullptr);
    EXPECT_EQ(getTopEscAction(), "escOlder();");
    EXPECT_EQ(getTopKeyAction(), "keyOlder");

    ASSERT_NE(open("newer.dlg"), nullptr);
    // A dialog without actions leaves the stacks as they are.
    ASSERT_NE(open("silent.dlg"), nullptr);
    EXPECT_EQ(getTopEscAction(), "escNewer();");
    EXPECT_EQ(getTopKeyAction(), "keyOlder");

    closeNow("newer");
    EXPECT_EQ(getTopEscAction(), "escOlder();");
    closeNow("older");
    EXPECT_EQ(getTopEscAction(), "");
    EXPECT_EQ(getTopKeyAction(), "");
}

TEST_F(DialogStacks, ClosingAnOlderDialogLeavesTheNewerOnesActionOnTop) {
    writeDialog("first.dlg", "-DialogName:first\n-Event.Keyboard.Esc.Pressed:back();\n");
    writeDialog("second.dlg", "-DialogName:second\n-Event.Keyboard.Esc.Pressed:back();\n");
    writeDialog("third.dlg", "-DialogName:third\n-Event.Keyboard.Esc.Pressed:quit();\n");
    ASSERT_NE(open("first.dlg"), nullptr);
    ASSERT_NE(open("second.dlg"), nullptr);
    ASSERT_NE(open("third.dlg"), nullptr);
    closeNow("first");
    EXPECT_EQ(getTopEscAction(), "quit();");
    closeNow("third");
    // One "back();" was taken off with the first dialog; the second's is still there.
    EXPECT_EQ(getTopEscAction(), "back();");
    closeNow("second");
    EXPECT_EQ(getTopEscAction(), "");
}

TEST_F(DialogStacks, DialogMusicPlaysBelowTheMusicFolderAndTheEarlierMusicReturnsOnClose) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    CSoundServer& sound = getEngine().getSound();
    sound.start(1);
    ASSERT_TRUE(sound.isRunning());
    writeDialog("menu.dlg", "-DialogName:menu\n-BackgroundMusic:menu.ogg\n");
    writeDialog("options.dlg", "-DialogName:options\n-BackgroundMusic:calm.ogg\n");
    writeDialog("plain.dlg", "-DialogName:plain\n");

    ASSERT_NE(open("menu.dlg"), nullptr);
    // Named as scripts name music (below "sounds\music\"), not turned into a data path.
    EXPECT_EQ(sound.getMusicName(), "menu.ogg");
    ASSERT_NE(open("options.dlg"), nullptr);
    EXPECT_EQ(sound.getMusicName(), "calm.ogg");
    ASSERT_NE(open("plain.dlg"), nullptr);
    EXPECT_EQ(sound.getMusicName(), "calm.ogg");

    closeNow("plain");
    EXPECT_EQ(sound.getMusicName(), "calm.ogg");
    closeNow("options");
    EXPECT_EQ(sound.getMusicName(), "menu.ogg");
    closeNow("menu");
    EXPECT_EQ(sound.getMusicName(), "");
}

} // namespace
