#include "data_folders.h"
#include "utils/description_path.h"

namespace {

using DescriptionPaths = DataFolders;

TEST_F(DescriptionPaths, DrivePathIsKeptAsWritten) {
    EXPECT_EQ(resolveDescriptionPath("z:\\Art\\A.png", "gui\\menu.spr"), "z:\\Art\\A.png");
}

TEST_F(DescriptionPaths, LeadingBackslashNamesADataPath) {
    EXPECT_EQ(resolveDescriptionPath("\\GUI\\Buttons\\ok.png", "levels\\one\\a.spr"),
              "gui\\buttons\\ok.png");
}

TEST_F(DescriptionPaths, OtherNamesAreRelativeToTheDescriptionsFolder) {
    EXPECT_EQ(resolveDescriptionPath("ok.png", "gui\\dialogs\\menu.dlg"), "gui\\dialogs\\ok.png");
    EXPECT_EQ(resolveDescriptionPath("", "gui\\dialogs\\menu.dlg"), "gui\\dialogs\\");
    EXPECT_EQ(resolveDescriptionPath("ok.png", "menu.dlg"), "ok.png");
}

TEST_F(DescriptionPaths, BaseFileInsideADataFolderGivesADataName) {
    EXPECT_EQ(resolveDescriptionPath("Intro.txt", enginePath("data_en\\texts\\strings.lng")),
              "texts\\intro.txt");
    EXPECT_EQ(resolveDescriptionPath("b.spr", enginePath("data\\gui\\a.spr")), "gui\\b.spr");
    EXPECT_EQ(resolveDescriptionPath("b.spr", "z:\\Elsewhere\\a.spr"), "z:\\elsewhere\\b.spr");
}

TEST_F(DescriptionPaths, SourceFolderTakesPrecedenceOverTheBaseFile) {
    std::string source = "actors\\ship\\ship.spr";
    EXPECT_EQ(resolveDescriptionPath("hull.png", "gui\\a.spr", &source), "actors\\ship\\hull.png");
    std::string none;
    EXPECT_EQ(resolveDescriptionPath("hull.png", "gui\\a.spr", &none), "hull.png");
}

} // namespace
