#include "platform/files.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class RenameFailure {
public:
    RenameFailure() {
        setRenameHook([](const std::string&, const std::string&) { return false; });
    }
    ~RenameFailure() { setRenameHook(nullptr); }
};

} // namespace

TEST(FileWrite, ReplacesTheWholeFile) {
    TemporaryFolder folder;
    folder.write("a.txt", "a much longer old content");
    ASSERT_TRUE(writeFileReplacing(folder.engine() + "a.txt", "new"));
    EXPECT_EQ(folder.read("a.txt"), "new");
}

TEST(FileWrite, FailedRenameLeavesTheOldFileAndNoLeftovers) {
    TemporaryFolder folder;
    folder.write("profile.ini", "old content");
    {
        RenameFailure failure;
        EXPECT_FALSE(writeFileReplacing(folder.engine() + "profile.ini", "new content"));
    }
    EXPECT_EQ(folder.read("profile.ini"), "old content");
    std::vector<FolderEntry> entries = listFolder(folder.engine());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "profile.ini");
}

TEST(FileWrite, UnwritableFolderFails) {
    TemporaryFolder folder;
    EXPECT_FALSE(writeFileReplacing(folder.engine() + "missing\\a.txt", "x"));
}

TEST(FileQueries, SizesFoldersAndListing) {
    TemporaryFolder folder;
    folder.write("Sub/b.bin", std::string("a\0b", 3));
    folder.write("c.txt", "");
    EXPECT_EQ(fileSize(folder.engine() + "sub\\b.bin"), 3);
    EXPECT_EQ(fileSize(folder.engine() + "none"), -1);
    EXPECT_TRUE(isFolder(folder.engine() + "sub"));
    EXPECT_FALSE(isFolder(folder.engine() + "c.txt"));
    EXPECT_TRUE(createFolder(folder.engine() + "made"));
    EXPECT_TRUE(createFolder(folder.engine() + "made"));

    std::vector<FolderEntry> entries = listFolder(folder.engine());
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Sub");
    EXPECT_TRUE(entries[0].isFolder);
    EXPECT_EQ(entries[1].name, "c.txt");
    EXPECT_FALSE(entries[1].isFolder);
    EXPECT_EQ(entries[2].name, "made");

    ASSERT_TRUE(copyFile(folder.engine() + "sub\\b.bin", folder.engine() + "copy.bin"));
    EXPECT_EQ(folder.read("copy.bin"), std::string("a\0b", 3));
    EXPECT_TRUE(removeFile(folder.engine() + "copy.bin"));
    EXPECT_FALSE(folder.exists("copy.bin"));
}
