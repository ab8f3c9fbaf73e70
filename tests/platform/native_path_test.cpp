#include "platform/files.h"
#include "platform/native_path.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

TEST(NativePath, EngineDriveStandsForTheRootAndBackslashesBecomeSlashes) {
    EXPECT_EQ(toNativePath("z:\\no-such-folder\\file.txt"), "/no-such-folder/file.txt");
    EXPECT_EQ(toNativePath("Z:\\no-such-folder\\"), "/no-such-folder/");
    EXPECT_EQ(toNativePath("no-such-folder\\a.txt"), "no-such-folder/a.txt");
    EXPECT_EQ(toEnginePath("/home/u/game/"), "z:\\home\\u\\game\\");
    EXPECT_EQ(toEnginePath("relative/x.png"), "relative\\x.png");
}

TEST(NativePath, LowerCaseEnginePathFindsMixedCaseFolders) {
    TemporaryFolder folder;
    folder.write("Data/GUI/Empty.PNG", "png");
    std::string engine = folder.engine() + "data\\gui\\empty.png";

    EXPECT_EQ(toNativePath(engine), folder.native() + "Data/GUI/Empty.PNG");
    EXPECT_TRUE(pathExists(engine));
    std::string bytes;
    ASSERT_TRUE(readWholeFile(engine, bytes));
    EXPECT_EQ(bytes, "png");
}

TEST(NativePath, ExactNameWinsOverAnotherCase) {
    TemporaryFolder folder;
    folder.write("Sub/a.txt", "upper");
    folder.write("sub/a.txt", "lower");
    EXPECT_EQ(toNativePath(folder.engine() + "sub\\a.txt"), folder.native() + "sub/a.txt");
}

TEST(NativePath, MissingComponentsAreKeptAsWritten) {
    TemporaryFolder folder;
    folder.write("Data/x.txt", "x");
    EXPECT_EQ(toNativePath(folder.engine() + "data\\new\\y.txt"),
              folder.native() + "Data/new/y.txt");
}

TEST(NativePath, FolderChangedAfterAListingIsSeen) {
    TemporaryFolder folder;
    folder.write("Data/old.txt", "x");
    EXPECT_TRUE(pathExists(folder.engine() + "data\\old.txt"));
    folder.write("Data/New.txt", "y");
    EXPECT_TRUE(pathExists(folder.engine() + "data\\new.txt"));
}
