#include "data_folders.h"

#include <cstdlib>
#include <vector>

namespace {

using PathHelpers = DataFolders;

TEST_F(PathHelpers, FileExistsLooksIntoArchivesAtTheArchiveItself) {
    program.write("Pack.ZIP", "zip");
    program.write("scripts.wsc", "wsc");
    EXPECT_TRUE(fileExists(enginePath("pack.zip\\inner\\file.txt")));
    EXPECT_TRUE(fileExists(enginePath("scripts.wsc\\a.nut")));
    EXPECT_FALSE(fileExists(enginePath("other.zip\\inner\\file.txt")));
}

TEST_F(PathHelpers, FileExistsIgnoresParametersAndTrailingBackslash) {
    program.write("data/gui/b.spr", "x");
    EXPECT_TRUE(fileExists(enginePath("data\\gui\\b.spr?size=2")));
    EXPECT_FALSE(fileExists(enginePath("data\\gui\\c.spr?size=2")));
    EXPECT_TRUE(fileExists(enginePath("data\\gui\\")));
    EXPECT_TRUE(fileExists(enginePath("data\\gui\\b.spr")));
    EXPECT_FALSE(fileExists(enginePath("data\\gui\\nothing.spr")));
    EXPECT_FALSE(fileExists(""));
}

TEST_F(PathHelpers, ClassifyPathTestsEndingsInItsOrder) {
    EXPECT_EQ(classifyPath("a.wav.txt"), kFileText);
    EXPECT_EQ(classifyPath("x.txt.spr"), kFileSpriteDescription);
    EXPECT_EQ(classifyPath("b.dlg.nut"), kFileDialog);
    EXPECT_EQ(classifyPath("sounds\\a.wav"), kFileSound);
    EXPECT_EQ(classifyPath("scripts\\s.nut"), kFileScript);
    EXPECT_EQ(classifyPath("gui\\atlas.cfg"), kFileConfiguration);
    EXPECT_EQ(classifyPath("raw:\\-Texture:a.spr"), kFileInline);
    EXPECT_EQ(classifyPath("gui\\empty.png"), kFileOther);
    EXPECT_EQ(classifyPath("a.spr"), kFileOther);
    EXPECT_EQ(classifyPath(""), kFileOther);
}

TEST_F(PathHelpers, InlineDataIsNeverCheckedForForm) {
    checkPathForm("raw:\\-Texture:Gui/X//y.png");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(PathHelpers, PathCaseIgnoresTheProgramFolderAndParameters) {
    checkPathForm(programFolder() + "data\\a.spr?Name=Big");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(PathHelpers, SplitPathGivesTheChosenParts) {
    const std::string path = "z:\\games\\vellum.v2\\data\\menu.dlg";
    EXPECT_EQ(splitPath(path, true, false, false, false), "z:");
    EXPECT_EQ(splitPath(path, false, true, false, false), "\\games\\vellum.v2\\data\\");
    EXPECT_EQ(splitPath(path, true, true, false, false), "z:\\games\\vellum.v2\\data\\");
    EXPECT_EQ(splitPath(path, false, false, true, false), "menu");
    EXPECT_EQ(splitPath(path, false, false, true, true), "menu.dlg");
    EXPECT_EQ(splitPath(path, false, false, false, true), ".dlg");
    EXPECT_EQ(splitPath("gui\\dialogs\\a.dlg", true, true, false, false), "gui\\dialogs\\");
    EXPECT_EQ(splitPath("z:\\a.b\\noext", false, false, true, true), "noext");
    EXPECT_EQ(splitPath("plain", true, true, false, false), "");
}

TEST_F(PathHelpers, SplitPathLeavesWebAndShellNamesAlone) {
    EXPECT_EQ(splitPath("HTTP://host/a.html", true, true, false, false), "HTTP://host/a.html");
    EXPECT_EQ(splitPath("::{20D04FE0}", false, false, true, false), "::{20D04FE0}");
    EXPECT_EQ(splitPath("http://", false, false, true, false), "");
}

TEST_F(PathHelpers, ListFilesGivesLowerCaseFullNamesFoldersFirst) {
    program.write("data/Zeta.TXT", "");
    program.write("data/alpha.png", "");
    program.write("data/GUI/Button.PNG", "");
    program.write("data/GUI/sub/deep.spr", "");
    program.write("data/.hidden/h.png", "");
    program.write("data/.dotfile", "");
    program.write("data/svnstore/s.png", "");
    program.write("data/menu-old.png", "");

    std::vector<std::string> files;
    listFiles(files, enginePath("data\\"), "");
    std::vector<std::string> expected = {
        enginePath("data\\gui\\sub\\deep.spr"),
        enginePath("data\\gui\\button.png"),
        enginePath("data\\alpha.png"),
        enginePath("data\\zeta.txt"),
    };
    EXPECT_EQ(files, expected);
}

TEST_F(PathHelpers, ListFilesFiltersByPatternAndSkipsListedNames) {
    program.write("data/GUI/Button.PNG", "");
    program.write("data/GUI/a.spr", "");
    program.write("data/b.png", "");

    std::vector<std::string> files = {enginePath("data\\b.png")};
    listFiles(files, "data", "*.PNG");
    std::vector<std::string> expected = {enginePath("data\\b.png"),
                                         enginePath("data\\gui\\button.png")};
    EXPECT_EQ(files, expected);

    listFiles(files, enginePath("data"), "?.png");
    EXPECT_EQ(files, expected);
}

class CommandLine : public DataFolders {
protected:
    void TearDown() override {
        setCommandLineWords({"vellum"});
        DataFolders::TearDown();
    }

    static void setCommandLineWords(std::vector<std::string> words) {
        std::vector<char*> arguments;
        for (std::string& word : words) {
            arguments.push_back(word.data());
        }
        setCommandLine(static_cast<int>(arguments.size()), arguments.data());
    }

    static std::string option(const std::string& name, bool found = true) {
        std::string value = "not cleared";
        EXPECT_EQ(getCommandLineOption(name, value, true), found) << name;
        return value;
    }
};

TEST_F(CommandLine, ValueFollowsEqualsSignUpToABlank) {
    setCommandLineWords({"vellum", "-Renderer=OpenGL", "-x"});
    EXPECT_EQ(option("renderer"), "opengl");
    EXPECT_EQ(option("RENDERER"), "opengl");
}

TEST_F(CommandLine, QuotedValueKeepsItsBlanks) {
    setCommandLineWords({"vellum", "-ul=\"z:\\My", "Folder\"", "-y"});
    EXPECT_EQ(option("ul"), "z:\\my folder");
}

TEST_F(CommandLine, ArgumentWithABlankIsQuotedAsAWholeAndKeepsItsValue) {
    setCommandLineWords({"vellum", "-ul=z:\\My Folder", "-y"});
    EXPECT_EQ(option("ul"), "z:\\my folder");
}

TEST_F(CommandLine, OptionWithoutEqualsSignIsPresentAndEmpty) {
    setCommandLineWords({"vellum", "-ul", "z:\\elsewhere"});
    EXPECT_EQ(option("ul"), "");
    setCommandLineWords({"vellum", "/window"});
    EXPECT_EQ(option("window"), "");
}

TEST_F(CommandLine, MissingOptionIsAbsentWithEmptyValue) {
    setCommandLineWords({"vellum", "-ultra=1", "ul=2"});
    EXPECT_EQ(option("ul", false), "");
}

TEST_F(CommandLine, PrefixCharactersAreTriedInOrder) {
    setCommandLineWords({"vellum", "@mode=at", "/mode=slash", "-mode=dash"});
    EXPECT_EQ(option("mode"), "dash");
    setCommandLineWords({"vellum", "@mode=at", "#mode=hash", "\\mode=backslash"});
    EXPECT_EQ(option("mode"), "backslash");
    setCommandLineWords({"vellum", "$mode", "$mode=dollar"});
    EXPECT_EQ(option("mode"), "dollar");
}

TEST_F(CommandLine, FileReferenceReadsTheFileFromTheProgramFolder) {
    program.write("args.txt", "Contents Of The File");
    setCommandLineWords({"vellum", "-extra=@args.txt"});
    EXPECT_EQ(option("extra"), "Contents Of The File");

    std::string value;
    EXPECT_TRUE(getCommandLineOption("extra", value, false));
    EXPECT_EQ(value, "@args.txt");
}

class UserFolder : public CommandLine {
protected:
    void SetUp() override {
        CommandLine::SetUp();
        const char* xdg = getenv("XDG_DATA_HOME");
        savedXdg = xdg ? xdg : "";
        hadXdg = xdg != nullptr;
        setenv("XDG_DATA_HOME", (program.native() + "home/share").c_str(), 1);
        setAppDataFolderName("Vellum Game");
    }
    void TearDown() override {
        if (hadXdg) {
            setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        setAppDataFolderName("");
        CommandLine::TearDown();
    }

    std::string savedXdg;
    bool hadXdg = false;
};

TEST_F(UserFolder, QuotedUlOptionGivesThatFolderInLowerCase) {
    std::string folder = programFolder() + "My Users";
    setCommandLineWords({"vellum", "-ul=\"" + folder.substr(0, folder.size() - 6), "Users\""});
    EXPECT_EQ(userFolder(), programFolder() + "my users\\");
    EXPECT_TRUE(program.exists("my users"));
}

TEST_F(UserFolder, NativeUlPathIsTakenInEngineForm) {
    setCommandLineWords({"vellum", "-ul=" + program.native() + "Native Users"});
    EXPECT_EQ(userFolder(), programFolder() + "native users\\");
    EXPECT_TRUE(program.exists("native users"));
}

TEST_F(UserFolder, UlWithoutValueSelectsUserDataBesideTheProgram) {
    setCommandLineWords({"vellum", "-ul", "-other"});
    EXPECT_EQ(userFolder(), programFolder() + "UserData\\");
    EXPECT_TRUE(program.exists("UserData"));
}

TEST_F(UserFolder, ProfileFolderBesideTheProgramMakesAPortableInstallation) {
    program.write("Profile/keep", "");
    EXPECT_EQ(userFolder(), programFolder() + "Profile\\");
}

TEST_F(UserFolder, OtherwiseTheAppDataNameBelowTheUsersDataFolderIsCreated) {
    EXPECT_EQ(userFolder(), program.engine() + "home\\share\\Vellum Game\\");
    EXPECT_TRUE(program.exists("home/share/Vellum Game"));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(UserFolder, EmptyAppDataNameWarnsAndUsesTheDataFolderItself) {
    setAppDataFolderName("");
    EXPECT_EQ(userFolder(), program.engine() + "home\\share\\");
    EXPECT_TRUE(boxes.sawText("UserFolder not defined!"));
}

} // namespace
