#include "config/config_fixture.h"
#include "platform/files.h"
#include "saves/forked_child.h"
#include "saves/save_generations.h"
#include "utils/utils_str.h"

#include <csignal>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kKills = 300;
// Kills land anywhere from before the child's first save to a few generations into its saving.
constexpr int kLongestWaitMicroseconds = 25000;

// The child: reads the files as a starting game does, then saves generation after generation,
// from the one after its profile's, until it is killed.
void saveUntilKilled() {
    EngineConfig config;
    config.load();
    CUserProfile profile(save_generations::kPlayer, config, nullptr);
    profile.load();
    int generation = profile.getOptions().getLongOption("Generation");
    for (;;) {
        ++generation;
        save_generations::apply(generation, config, profile);
        if (!save_generations::saveAll(config, profile)) {
            ADD_FAILURE() << "generation " << generation << " was not saved";
            return;
        }
    }
}

} // namespace

class KilledSave : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        writeGameIni("Language=data_en\n");
        EngineConfig config;
        CUserProfile profile(save_generations::kPlayer, config, nullptr);
        savedNames = {".keep", "game_options.ini", "hiscores.ini",
                      toLower(profile.profilePath().substr(userFolder().size()))};
    }

    // The user folder's temporary files; any other file than the saved ones fails the test.
    std::vector<std::string> temporaryFiles() const {
        std::vector<std::string> temporaries;
        for (const FolderEntry& entry : listFolder(userFolder())) {
            if (isTemporaryFileName(entry.name)) {
                temporaries.push_back(entry.name);
            } else {
                EXPECT_EQ(savedNames.count(toLower(entry.name)), 1u)
                    << "unexpected file " << entry.name;
            }
        }
        return temporaries;
    }

    std::set<std::string> savedNames;
};

// Each file read back after a kill holds the generation it held before the child started or
// one the child wrote (not newer than the profile, which is saved first); never a mix, a cut
// file or an older generation. A start after the kill removes the child's temporary files.
TEST_F(KilledSave, EveryFileReadsBackAsTheOldOrANewGenerationAfterEachKill) {
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> wait(0, kLongestWaitMicroseconds);
    save_generations::ReadBack before;
    before.profile = before.options = before.scores = 0;
    int killsDuringAWrite = 0;
    int filesChecked = 0;
    for (int kill = 1; kill <= kKills; ++kill) {
        pid_t child = forked_child::start(saveUntilKilled);
        usleep(static_cast<useconds_t>(wait(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(forked_child::finish(child), 128 + SIGKILL)
            << "the saving child ended on its own before kill " << kill;
        killsDuringAWrite += temporaryFiles().empty() ? 0 : 1;

        save_generations::ReadBack after = save_generations::readBack();
        ASSERT_EQ(after.problem, "") << "after kill " << kill;
        const int firstNew = before.profile + 1;
        for (auto [was, now, file] : {std::make_tuple(before.profile, after.profile, "profile"),
                                      std::make_tuple(before.options, after.options, "options"),
                                      std::make_tuple(before.scores, after.scores, "scores")}) {
            EXPECT_TRUE(now == was || (now >= firstNew && now <= after.profile))
                << file << " holds generation " << now << " after kill " << kill
                << "; before it held " << was << ", the child wrote " << firstNew << " to "
                << after.profile;
            ++filesChecked;
        }
        ASSERT_EQ(temporaryFiles(), std::vector<std::string>())
            << "left by the start after kill " << kill;
        before = after;
    }
    // The children got past their start, so kills fell on saves (here, on an idle machine, about
    // four kills in five do; a tenth is ample margin for a loaded one).
    EXPECT_GT(before.profile, kKills / 10);
    std::printf("%d kills (%d during a write), %d files checked, last generation %d\n", kKills,
                killsDuringAWrite, filesChecked, before.profile);
    RecordProperty("kills_during_a_write", killsDuringAWrite);
    RecordProperty("files_checked", filesChecked);
}
