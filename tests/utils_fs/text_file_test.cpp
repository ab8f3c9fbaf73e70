#include "data_folders.h"

#include <filesystem>

namespace {

using TextFiles = DataFolders;

std::string readText(const std::string& name) {
    std::string text = "unchanged";
    EXPECT_TRUE(readTextFile(name, text)) << name;
    return text;
}

TEST_F(TextFiles, CarriageReturnsAreRemoved) {
    program.write("data/a.txt", "one\r\ntwo\r\n");
    EXPECT_EQ(readText("a.txt"), "one\ntwo\n");
}

TEST_F(TextFiles, ReadingIsCachedUntilWrittenOrCleared) {
    program.write("data/cached.txt", "first");
    EXPECT_EQ(readText("cached.txt"), "first");

    program.write("data/cached.txt", "changed behind the cache");
    EXPECT_EQ(readText("cached.txt"), "first");

    ASSERT_TRUE(writeTextFile(enginePath("data\\cached.txt"), "written"));
    EXPECT_EQ(readText("cached.txt"), "written");

    program.write("data/cached.txt", "after clearing");
    clearTextCache();
    EXPECT_EQ(readText("cached.txt"), "after clearing");
}

TEST_F(TextFiles, MissingFileShowsBoxAndLeavesOutputUnchanged) {
    std::string text = "unchanged";
    EXPECT_FALSE(readTextFile("missing.txt", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(
        boxes.sawText("Attemp to read nonexisted TEXT file\n" + enginePath("data\\missing.txt")));
    EXPECT_FALSE(readTextFile("", text));
}

TEST_F(TextFiles, AbsolutePathIsReadWithoutResolving) {
    program.write("game.ini", "Key=1");
    EXPECT_EQ(readText(enginePath("game.ini")), "Key=1");
}

TEST_F(TextFiles, SameIncludeTwiceIsReplacedInBothPlaces) {
    program.write("data/inc.txt", "[inc]");
    program.write("data/main.txt", "a${include(inc.txt)}b${include(inc.txt)}c");
    EXPECT_EQ(readText("main.txt"), "a[inc]b[inc]c");
}

TEST_F(TextFiles, NestedIncludesAreExpandedFully) {
    program.write("data/outer.txt", "<${include(middle.txt)}>");
    program.write("data/middle.txt", "(${include(sub\\inner.txt)})");
    program.write("data_en/sub/inner.txt", "inner\r\n");
    EXPECT_EQ(readText("outer.txt"), "<(inner\n)>");
}

TEST_F(TextFiles, MissingIncludeBecomesEmptyAndShowsBox) {
    program.write("data/main.txt", "a${include(gone.txt)}b");
    EXPECT_EQ(readText("main.txt"), "ab");
    EXPECT_TRUE(boxes.sawText("Attemp to read nonexisted TEXT file"));
}

TEST_F(TextFiles, UnclosedIncludeEndsExpansionAndKeepsTheRest) {
    program.write("data/inc.txt", "[inc]");
    program.write("data/open.txt", "a${include(inc.txt)}b${include(inc.txt");
    EXPECT_EQ(readText("open.txt"), "a[inc]b${include(inc.txt");
}

TEST_F(TextFiles, EmptyIncludeNameEndsExpansionAndKeepsTheRest) {
    program.write("data/inc.txt", "[inc]");
    program.write("data/empty.txt", "a${include()}b${include(inc.txt)}");
    EXPECT_EQ(readText("empty.txt"), "a${include()}b${include(inc.txt)}");
}

TEST_F(TextFiles, SelfIncludeEndsInsteadOfRecursing) {
    program.write("data/self.txt", "x${include(self.txt)}y");
    EXPECT_EQ(readText("self.txt"), "x${include(self.txt)}y");

    program.write("data/ping.txt", "ping ${include(pong.txt)}");
    program.write("data/pong.txt", "pong ${include(ping.txt)}");
    EXPECT_EQ(readText("ping.txt"), "ping pong ${include(ping.txt)}");
}

TEST_F(TextFiles, IncludedTextIsNotScannedForDirectivesAgain) {
    program.write("data/half.txt", "lude(self.txt)}");
    program.write("data/self.txt", "${inc${include(half.txt)}");
    EXPECT_EQ(readText("self.txt"), "${include(self.txt)}");
}

TEST_F(TextFiles, ThisFolderBecomesTheFilesDataFolder) {
    program.write("data/gui/dialogs/a.dlg", "-Texture:${thisfolder}\\b.spr\n${thisfolder}\\c");
    EXPECT_EQ(readText("gui\\dialogs\\a.dlg"), "-Texture:gui\\dialogs\\b.spr\ngui\\dialogs\\c");

    program.write("data_en/gui/x.spr", "${thisfolder}\\y.png");
    EXPECT_EQ(readText("gui\\x.spr"), "gui\\y.png");

    program.write("other/z.txt", "${thisfolder}\\w");
    EXPECT_EQ(readText(enginePath("other\\z.txt")), enginePath("other\\w"));
}

TEST_F(TextFiles, IncludedFileUsesItsOwnFolder) {
    program.write("data/gui/part.txt", "${thisfolder}\\p.png");
    program.write("data/main.txt", "${include(gui\\part.txt)} ${thisfolder}\\m.png");
    EXPECT_EQ(readText("main.txt"), "gui\\p.png m.png");
}

TEST_F(TextFiles, FailedRenameLeavesTheOldFileIntact) {
    program.write("data/profile.txt", "old and whole");
    setRenameHook([](const std::string&, const std::string&) { return false; });
    EXPECT_FALSE(writeTextFile(enginePath("data\\profile.txt"), "new"));
    setRenameHook(nullptr);

    EXPECT_EQ(program.read("data/profile.txt"), "old and whole");
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(program.native() + "data")) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "the temporary file was left behind";
}

TEST_F(TextFiles, ReadFileRawStopsAtZeroByteAndRejectsEmptyFiles) {
    program.write("raw.bin", std::string("ab\0cd", 5));
    program.write("empty.bin", "");
    std::string out = "unchanged";
    EXPECT_TRUE(readFileRaw(enginePath("raw.bin"), out));
    EXPECT_EQ(out, "ab");
    out = "unchanged";
    EXPECT_FALSE(readFileRaw(enginePath("empty.bin"), out));
    EXPECT_FALSE(readFileRaw(enginePath("missing.bin"), out));
    EXPECT_FALSE(readFileRaw("", out));
    EXPECT_EQ(out, "unchanged");
}

} // namespace
