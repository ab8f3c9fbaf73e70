#include "dialog_fixture.h"

#include "animators/alifetimeanimators.h"
#include "utils/utils_fs.h"

namespace {

using DialogScripts = DialogTest;

TEST_F(DialogScripts, PreloadedDialogsOpenAndCloseFromScriptsByName) {
    writeDialog("menus/main.dlg", "-DialogName:main_menu\n[Sprite]\n"
                                  "-Texture:\\gui\\orange.png\n");
    getEngine().preloadResource(resolveDataPath("dialogs\\menus\\main.dlg"));
    EXPECT_EQ(getDialogFile("main_menu"), resolveDataPath("dialogs\\menus\\main.dlg"));
    // A name on a last line without a line feed counts as well.
    writeDialog("last.dlg", "-ModalDialog:1\n-DialogName:last_line");
    getEngine().preloadResource(resolveDataPath("dialogs\\last.dlg"));
    EXPECT_EQ(getDialogFile("last_line"), resolveDataPath("dialogs\\last.dlg"));

    run("::opened <- core_IsDialogOpened(\"main_menu\");"
        "core_OpenDialog(\"main_menu\");"
        "::nowOpen <- core_IsDialogOpened(\"main_menu\");"
        "::folder <- core_GetDialogRootFolder(\"main_menu\");");
    squirrel::Object root = getEngine().getScripting().vm().rootTable();
    EXPECT_FALSE(root.get("opened").toBool());
    EXPECT_TRUE(root.get("nowOpen").toBool());
    EXPECT_EQ(root.get("folder").toString(),
              splitPath(resolveDataPath("dialogs\\menus\\main.dlg"), true, true, false, false));
    const std::string folder = root.get("folder").toString();
    EXPECT_EQ(folder.substr(folder.size() - 15), "\\dialogs\\menus\\");
    CNodeBasement* dialog = getNodeByName("main_menu");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->getParent(), getEngine().rootNode());

    // A fade time closes the dialog over that time.
    run("core_CloseDialog(\"main_menu\", 500);");
    EXPECT_EQ(countAnimators<CSelfDestructAnimator>(dialog), 1);
    EXPECT_TRUE(isOpen("main_menu"));
    framesFromTo(kStart, kStart + 600, 50);
    EXPECT_FALSE(isOpen("main_menu"));
    EXPECT_EQ(getNodeByName("main_menu"), nullptr);

    run("core_OpenDialog(\"main_menu\"); core_CloseDialog(\"main_menu\");");
    getEngine().getRenderer().drainDeletionQueue();
    EXPECT_FALSE(isOpen("main_menu"));
}

TEST_F(DialogScripts, OpeningAnUnknownDialogNameEndsTheProcess) {
    EXPECT_EXIT(run("core_OpenDialog(\"no_such_dialog\");"), testing::ExitedWithCode(1), "");
}

} // namespace
