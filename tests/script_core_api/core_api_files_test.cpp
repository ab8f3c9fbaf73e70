#include "script_core_api/core_api_fixture.h"

#include "utils/utils_str.h"

namespace {

class CoreFiles : public CoreApiTest {
protected:
    // The program folder as the engine writes it, in lower case.
    std::string programPath() const { return toLower(program.folder().engine()); }
};

// A script string literal of the text (backslashes and quotes escaped).
std::string literal(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

TEST_F(CoreFiles, SavedFileReadsBackAndReplacesTheCachedText) {
    std::string path = programPath() + "data\\notes.txt";
    EXPECT_TRUE(eval("core_SaveFile(" + literal(path) + ", \"first\\nline\")").toBool());
    EXPECT_EQ(eval("core_ReadTextFile(" + literal(path) + ")").toString(), "first\nline");
    EXPECT_TRUE(eval("core_SaveFile(" + literal(path) + ", \"second\")").toBool());
    EXPECT_EQ(eval("core_ReadTextFile(" + literal(path) + ")").toString(), "second");
    EXPECT_EQ(eval("core_ReadTextFile(\"notes.txt\")").toString(), "second");
    EXPECT_EQ(program.folder().read("data/notes.txt"), "second");
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(CoreFiles, UnwritableFileGivesFalseAndMissingFileReadsEmpty) {
    std::string path = programPath() + "no_folder\\notes.txt";
    EXPECT_FALSE(eval("core_SaveFile(" + literal(path) + ", \"lost\")").toBool());
    EXPECT_EQ(eval("core_ReadTextFile(\"nothing.txt\")").toString(), "");
    EXPECT_TRUE(boxes.sawText("Attemp to read nonexisted TEXT file"));
}

TEST_F(CoreFiles, FileListingHoldsEveryFileBelowTheDataFolderOrFalse) {
    program.writeData("levels/one.txt", "1");
    program.writeData("levels/deep/two.txt", "2");
    program.writeData("empty/.hidden", "");
    run("local files = core_GetFileListing(\"levels\\\\\");"
        "::listed <- typeof files == \"array\" ? files : [];");
    squirrel::Object listed = vm().rootTable().get("listed");
    ASSERT_EQ(listed.size(), 2);
    std::string levels = programPath() + "data\\levels\\";
    EXPECT_EQ(listed.get(0).toString(), levels + "deep\\two.txt");
    EXPECT_EQ(listed.get(1).toString(), levels + "one.txt");

    EXPECT_EQ(typeOf("core_GetFileListing(\"empty\\\\\")"), "bool");
    EXPECT_FALSE(eval("core_GetFileListing(\"empty\\\\\")").toBool());
    EXPECT_FALSE(eval("core_GetFileListing(\"missing\\\\\")").toBool());
}

TEST_F(CoreFiles, PathPartsAreChosenByFlags) {
    const std::string path = literal("z:\\games\\data\\level01.spr");
    EXPECT_EQ(eval("core_GetPathPart(" + path + ", true, true, false, false)").toString(),
              "z:\\games\\data\\");
    EXPECT_EQ(eval("core_GetPathPart(" + path + ", false, false, true, true)").toString(),
              "level01.spr");
    EXPECT_EQ(eval("core_GetPathPart(" + path + ", 0, 0, 0, 1)").toString(), ".spr");
}

TEST_F(CoreFiles, DataPathsResolveThroughTheLanguageFolderFirst) {
    program.writeData("gui/frame.png", "common");
    EXPECT_EQ(eval("core_GetDataPath(\"gui\\\\frame.png\")").toString(),
              programPath() + "data\\gui\\frame.png");
    program.folder().write("data_en/gui/frame.png", "english");
    // The cached answer stays until the name is resolved afresh.
    EXPECT_EQ(eval("core_GetDataPath(\"gui\\\\frame.png\")").toString(),
              programPath() + "data\\gui\\frame.png");
    EXPECT_EQ(eval("core_AddDataPath(\"gui\\\\frame.png\")").toString(),
              programPath() + "data_en\\gui\\frame.png");
    EXPECT_EQ(eval("core_GetDataPath(\"gui\\\\frame.png\")").toString(),
              programPath() + "data_en\\gui\\frame.png");
}

} // namespace
