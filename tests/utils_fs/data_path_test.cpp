#include "data_folders.h"

namespace {

using DataPaths = DataFolders;

TEST_F(DataPaths, NameOnlyInCommonFolderResolvesThereInLowerCase) {
    program.write("Data/GUI/Empty.PNG", "png");
    std::string path = resolveDataPath("gui\\empty.png");
    EXPECT_EQ(path, enginePath("data\\gui\\empty.png"));
    std::string bytes;
    EXPECT_TRUE(readFileRaw(path, bytes));
    EXPECT_EQ(bytes, "png");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataPaths, LanguageFolderWinsOverCommonFolder) {
    program.write("data/gui/title.png", "common");
    program.write("Data_EN/Gui/Title.png", "english");
    EXPECT_EQ(resolveDataPath("gui\\title.png"), enginePath("data_en\\gui\\title.png"));
}

TEST_F(DataPaths, ResolvedNameIsRememberedUntilResolvedUncached) {
    program.write("data/gui/later.png", "common");
    EXPECT_EQ(resolveDataPath("gui\\later.png"), enginePath("data\\gui\\later.png"));
    program.write("data_en/gui/later.png", "english");
    EXPECT_EQ(resolveDataPath("gui\\later.png"), enginePath("data\\gui\\later.png"));
    EXPECT_EQ(resolveDataPathUncached("gui\\later.png"), enginePath("data_en\\gui\\later.png"));
    EXPECT_EQ(resolveDataPath("gui\\later.png"), enginePath("data_en\\gui\\later.png"));
}

TEST_F(DataPaths, AbsoluteAndInlineNamesComeBackUnchanged) {
    EXPECT_EQ(resolveDataPath("z:\\Some\\Where.PNG"), "z:\\Some\\Where.PNG");
    EXPECT_EQ(resolveDataPath("raw:\\-Texture:x"), "raw:\\-Texture:x");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataPaths, LeadingBackslashIsDropped) {
    program.write("data_en/a/b.png", "x");
    EXPECT_EQ(resolveDataPath("\\a\\b.png"), enginePath("data_en\\a\\b.png"));
}

TEST_F(DataPaths, EmptyNameIsTheCommonDataFolder) {
    program.write("data_en/x.txt", "x");
    EXPECT_EQ(resolveDataPath(""), enginePath("data\\"));
    EXPECT_EQ(languageDataPath(""), enginePath("data_en\\"));
    EXPECT_EQ(languageDataPath("gui\\a.png"), enginePath("data_en\\gui\\a.png"));
}

TEST_F(DataPaths, BadlyFormedNamesWarnButStillResolve) {
    EXPECT_EQ(resolveDataPath("Gui\\Upper.png"), enginePath("data\\gui\\upper.png"));
    EXPECT_TRUE(boxes.sawText("Wrong texure path! Cache miss: path case\nGui\\Upper.png"));

    resolveDataPath("gui/slash.png");
    EXPECT_TRUE(boxes.sawText("Wrong texure path! Cache miss: '/'\ngui/slash.png"));

    resolveDataPath("gui\\\\double.png");
    EXPECT_TRUE(boxes.sawText("Wrong texure path! Cache miss:'\\\\'\ngui\\\\double.png"));
    for (const MessageBoxRecorder::Box& box : boxes.boxes()) {
        EXPECT_EQ(box.kind & kBoxButtonMask, kBoxOk);
    }
}

TEST_F(DataPaths, FullScreenModeSuppressesPathWarnings) {
    fullScreenMode = 1;
    resolveDataPath("Gui\\Quiet.png");
    fullScreenMode = 0;
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataPaths, SoundsAndMusicHaveTheirOwnFolders) {
    program.write("data/sounds/click.wav", "w");
    program.write("data_en/sounds/music/theme.ogg", "m");
    EXPECT_EQ(soundPath("click.wav"), enginePath("data\\sounds\\click.wav"));
    EXPECT_EQ(musicPath("theme.ogg"), enginePath("data_en\\sounds\\music\\theme.ogg"));
    std::string inProgram = enginePath("elsewhere\\tune.ogg");
    EXPECT_EQ(musicPath(inProgram), inProgram);
}

TEST_F(DataPaths, MakeDataRelativeRemovesBothDataFolders) {
    std::string common = enginePath("data\\GUI\\Dialogs\\A.dlg");
    makeDataRelative(common);
    EXPECT_EQ(common, "gui\\dialogs\\a.dlg");

    std::string english = enginePath("data_en\\gui\\b.spr");
    makeDataRelative(english);
    EXPECT_EQ(english, "gui\\b.spr");

    std::string outside = "z:\\Other\\Place\\c.spr";
    makeDataRelative(outside);
    EXPECT_EQ(outside, "z:\\other\\place\\c.spr");
}

TEST_F(DataPaths, MakeDataRelativeWorksBeforeAnyLanguageIsSet) {
    setLanguage("");
    std::string path = enginePath("data\\gui\\a.dlg");
    makeDataRelative(path);
    EXPECT_EQ(path, "gui\\a.dlg");
}

TEST_F(DataPaths, ResolvingWithoutLanguageIsFatal) {
    setLanguage("");
    EXPECT_EXIT(resolveDataPath("gui\\a.png"), testing::ExitedWithCode(1), "");
}

TEST_F(DataPaths, NewNameOfAKnownKindIsFatalOnceTheEngineRuns) {
    program.write("data/gui/button.spr", "-Texture:a.png");
    resolveDataPath("gui\\preloaded.spr");
    setEngineStageSource([] { return 500; });

    EXPECT_EXIT(resolveDataPath("gui\\button.spr"), testing::ExitedWithCode(1), "");
    EXPECT_EXIT(soundPath("late.wav"), testing::ExitedWithCode(1), "");

    // Names resolved while preloading, names of no known kind, inline data, wildcard and
    // parameter names, and the uncached variant go on working.
    EXPECT_EQ(resolveDataPath("gui\\preloaded.spr"), enginePath("data\\gui\\preloaded.spr"));
    EXPECT_EQ(resolveDataPath("gui\\new.png"), enginePath("data\\gui\\new.png"));
    EXPECT_EQ(resolveDataPath("gui\\b.spr?size=2"), enginePath("data\\gui\\b.spr?size=2"));
    EXPECT_EQ(resolveDataPath("gui\\*.spr"), enginePath("data\\gui\\*.spr"));
    EXPECT_EQ(resolveDataPathUncached("gui\\button.spr"), enginePath("data\\gui\\button.spr"));
}

TEST_F(DataPaths, ShortNamesAndUnknownKindsAreNotFatalAtStage500) {
    setEngineStageSource([] { return 999; });
    EXPECT_EQ(resolveDataPath("a.spr"), enginePath("data\\a.spr"));
    EXPECT_EQ(resolveDataPath("strings.lng"), enginePath("data\\strings.lng"));
}

} // namespace
