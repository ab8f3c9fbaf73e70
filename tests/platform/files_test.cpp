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

TEST(FileWrite, FailureNamesTheStepAndTheReason) {
    TemporaryFolder folder;
    std::string failure;
    EXPECT_FALSE(writeFileReplacing(folder.engine() + "missing\\a.txt", "x", &failure));
    EXPECT_EQ(failure, "creating a temporary file in " + folder.native() +
                           "missing/: No such file or directory");
    RenameFailure renameFailure;
    EXPECT_FALSE(writeFileReplacing(folder.engine() + "b.txt", "x", &failure));
    EXPECT_EQ(failure.rfind("replacing " + folder.native() + "b.txt: ", 0), 0u) << failure;
}

// What a killed writer leaves behind is what the cleaning removes, and nothing else.
TEST(FileWrite, TemporariesAreHiddenAndOnlyTheyAreRemovedAsLeftovers) {
    TemporaryFolder folder;
    std::string temporary;
    setRenameHook([&temporary](const std::string& from, const std::string&) {
        temporary = from.substr(from.rfind('/') + 1);
        return false;
    });
    EXPECT_FALSE(writeFileReplacing(folder.engine() + "Profile.ini", "new"));
    setRenameHook(nullptr);
    EXPECT_EQ(temporary.rfind(".Profile.ini", 0), 0u) << temporary;
    EXPECT_TRUE(isTemporaryFileName(temporary)) << temporary;
    EXPECT_FALSE(folder.exists(temporary));

    folder.write("profile.ini", "kept");
    folder.write(temporary, "cut");
    folder.write(".hiscores.ini.tmp-A1b2C3", "cut");
    const std::vector<std::string> kept{".d.tmp-abcdef/x",  ".tmp-abcdef",      ".x.tmp-abc",
                                        ".x.tmp-abc_de",    "notes.tmp-abcdef", "profile.ini",
                                        temporary + "-copy"};
    for (const std::string& name : kept) {
        folder.write(name, "kept");
    }
    EXPECT_EQ(removeLeftoverTemporaries(folder.engine()), 2);
    EXPECT_FALSE(folder.exists(temporary));
    EXPECT_FALSE(folder.exists(".hiscores.ini.tmp-A1b2C3"));
    for (const std::string& name : kept) {
        EXPECT_TRUE(folder.exists(name)) << name;
    }
}
