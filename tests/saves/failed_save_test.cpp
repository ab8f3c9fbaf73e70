#include "config/config_fixture.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/native_path.h"
#include "saves/forked_child.h"
#include "saves/save_generations.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

constexpr uid_t kNobody = 65534;

bool writeProcFile(const char* path, const std::string& text) {
    std::ofstream file(path);
    file << text;
    file.flush();
    return static_cast<bool>(file);
}

// Gives the process a mount namespace of its own, so what it mounts no other process sees: as
// the superuser directly, otherwise inside a user namespace of its own where it is the superuser.
bool enterOwnMountNamespace(std::string& reason) {
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (unshare(CLONE_NEWNS) != 0) {
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            reason = std::string("no mount namespace: ") + std::strerror(errno);
            return false;
        }
        if (!writeProcFile("/proc/self/setgroups", "deny") ||
            !writeProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !writeProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
            reason = "cannot map the user into its namespace";
            return false;
        }
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        reason = std::string("cannot make the mounts private: ") + std::strerror(errno);
        return false;
    }
    return true;
}

// Fills the file system that holds the folder until a write fails for want of space.
void fillFileSystem(const std::string& nativeFolder) {
    int fd = ::open((nativeFolder + "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    const std::string block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, "f", 1) > 0) {
    }
    EXPECT_EQ(errno, ENOSPC);
    ::close(fd);
}

// Gives the folder to the unprivileged user "nobody" and becomes that user, for whom permission
// bits count (they do not stop the superuser). An unprivileged test process stays who it is.
void becomeOwnerWhoseBitsCount(const std::string& nativeTop, const std::string& nativeFolder) {
    if (geteuid() != 0) {
        return;
    }
    // The way down to the folder must be open to that user.
    ASSERT_EQ(chmod(nativeTop.c_str(), 0755), 0);
    ASSERT_EQ(chmod((nativeTop + "program").c_str(), 0755), 0);
    ASSERT_EQ(chown(nativeFolder.c_str(), kNobody, kNobody), 0);
    for (const FolderEntry& entry : listFolder(toEnginePath(nativeFolder))) {
        ASSERT_EQ(chown((nativeFolder + entry.name).c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(setgroups(0, nullptr), 0);
    ASSERT_EQ(setresgid(kNobody, kNobody, kNobody), 0);
    ASSERT_EQ(setresuid(kNobody, kNobody, kNobody), 0);
}

} // namespace

class FailedSave : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        writeGameIni("Language=data_en\n");
        userNative = folder.native() + "program/Profile/";
    }

    // Runs the body in a child process; skips the test when the child could not set it up.
    void runInChild(const std::function<void()>& body) {
        int status = forked_child::run(body);
        if (status == forked_child::kCannotRun) {
            GTEST_SKIP() << "the child could not set up the failing file system";
        }
        EXPECT_EQ(status, 0);
    }

    // Saves generation 1, lets `breakFolder` make writes fail, then checks that saving
    // generation 2 tells the player about each of the three files with the reason, keeps
    // generation 1 whole on disk and leaves no temporary file; then `mendFolder` lets the
    // running game save generation 2 after all.
    void saveThroughFailure(const std::function<void()>& breakFolder,
                            const std::function<void()>& mendFolder, const std::string& reason) {
        EngineConfig config;
        config.load();
        CUserProfile profile(save_generations::kPlayer, config, nullptr);
        profile.load();
        save_generations::apply(1, config, profile);
        ASSERT_TRUE(save_generations::saveAll(config, profile));
        ASSERT_TRUE(boxes.boxes().empty());

        breakFolder();
        if (testing::Test::HasFatalFailure()) {
            return;
        }
        save_generations::apply(2, config, profile);
        EXPECT_FALSE(save_generations::saveAll(config, profile));
        ASSERT_EQ(boxes.boxes().size(), 3u);
        for (const std::string& file :
             {toNativePath(profile.profilePath()), userNative + "game_options.ini",
              userNative + "hiscores.ini"}) {
            EXPECT_TRUE(boxes.sawText("Could not save " + file + " (")) << file;
        }
        for (const MessageBoxRecorder::Box& box : boxes.boxes()) {
            EXPECT_NE(box.text.find(reason), std::string::npos) << box.text;
            EXPECT_EQ(box.kind & kBoxButtonMask, kBoxOk) << "a box that asks could end the game";
        }
        for (const FolderEntry& entry : listFolder(toEnginePath(userNative))) {
            EXPECT_FALSE(isTemporaryFileName(entry.name)) << entry.name;
        }
        save_generations::ReadBack kept = save_generations::readBack();
        EXPECT_EQ(kept.problem, "");
        EXPECT_EQ(kept.profile, 1);
        EXPECT_EQ(kept.options, 1);
        EXPECT_EQ(kept.scores, 1);

        mendFolder();
        EXPECT_TRUE(save_generations::saveAll(config, profile));
        save_generations::ReadBack saved = save_generations::readBack();
        EXPECT_EQ(saved.problem, "");
        EXPECT_EQ(saved.profile, 2);
        EXPECT_EQ(saved.options, 2);
        EXPECT_EQ(saved.scores, 2);
    }

    std::string userNative;
};

TEST_F(FailedSave, FullDiskIsReportedAndKeepsWhatWasSaved) {
    runInChild([this] {
        std::string reason;
        if (!enterOwnMountNamespace(reason) ||
            mount("tmpfs", userNative.c_str(), "tmpfs", 0, "size=64k") != 0) {
            std::fprintf(stderr, "cannot mount a small file system: %s\n",
                         reason.empty() ? std::strerror(errno) : reason.c_str());
            _exit(forked_child::kCannotRun);
        }
        saveThroughFailure([this] { fillFileSystem(userNative); },
                           [this] { ASSERT_EQ(::unlink((userNative + "filler").c_str()), 0); },
                           "No space left on device");
    });
}

TEST_F(FailedSave, ReadOnlyUserFolderIsReportedAndKeepsWhatWasSaved) {
    runInChild([this] {
        saveThroughFailure(
            [this] {
                becomeOwnerWhoseBitsCount(folder.native(), userNative);
                ASSERT_EQ(chmod(userNative.c_str(), 0555), 0);
                ASSERT_NE(access(userNative.c_str(), W_OK), 0) << "the folder is still writable";
            },
            [this] { ASSERT_EQ(chmod(userNative.c_str(), 0755), 0); }, "Permission denied");
    });
}
