#include "config_fixture.h"

#include "core/module_userprofile.h"
#include "platform/message_box.h"
#include "utils/checksums.h"
#include "utils/utils_lang.h"
#include "utils/utils_str.h"

#include <cstdio>

namespace {

const char* const kGameIni = "Fullscreen=1\nWinCursor=1\nEffectsVolume=0.5\nMusicVolume=0.25\n"
                             "XResolution=1024\nYResolution=768\nLanguage=data_DE\n";

// Records what the profile asks of the game's extension and keeps one value of its own.
class RecordingExtension : public IProfileExtension {
public:
    explicit RecordingExtension(std::vector<std::string>& calls) : calls(calls) {}
    ~RecordingExtension() override { calls.push_back("destroyed"); }
    void initDefaults(const std::string& gameIni, CUserProfile* profile) override {
        calls.push_back("initDefaults:" + getOptionOf(gameIni) + ":" + profile->getName());
        level = "start";
    }
    void load(const std::string& text, CUserProfile*) override {
        calls.push_back("load");
        level = getOptionOf(text);
    }
    void save(std::string& text, CUserProfile*) override {
        calls.push_back("save");
        text += "sLevel=" + level + "\n";
    }
    void onActivated() override { calls.push_back("onActivated"); }

    std::string level;

private:
    static std::string getOptionOf(const std::string& text) {
        int at = find(text, "\nsLevel=");
        return at < 0 ? "-" : mid(text, at + 8, findChar(text, '\n', at + 1) - at - 8);
    }
    std::vector<std::string>& calls;
};

} // namespace

class ProfileTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        writeGameIni(kGameIni);
    }
    void TearDown() override {
        setVolumeUpdateHook(nullptr);
        ConfigTest::TearDown();
    }

    EngineConfig config;
};

TEST_F(ProfileTest, NewProfileTakesGameIniDefaultsAndCountsAsChanged) {
    CUserProfile profile("Ann", config, nullptr);
    EXPECT_EQ(profile.getName(), "Ann");
    EXPECT_EQ(profile.getFullscreen(), 1);
    EXPECT_EQ(profile.getWinCursor(), 1);
    EXPECT_FLOAT_EQ(profile.getEffectsVolume(), 0.5f);
    EXPECT_FLOAT_EQ(profile.getMusicVolume(), 0.25f);
    EXPECT_EQ(profile.getXResolution(), 1024);
    EXPECT_EQ(profile.getYResolution(), 768);
    EXPECT_EQ(profile.getLanguage(), "data_DE");
    EXPECT_EQ(profile.getTooltipShowed(), "");
    EXPECT_EQ(profile.changeCount(), 1);
}

TEST_F(ProfileTest, ASmallResolutionBecomes800By600) {
    writeGameIni("XResolution=1920\nYResolution=99\n");
    CUserProfile profile("Ann", config, nullptr);
    EXPECT_EQ(profile.getXResolution(), 800);
    EXPECT_EQ(profile.getYResolution(), 600);
}

TEST_F(ProfileTest, CommandLineOverridesGameIniForNewProfilesButNotProfileFiles) {
    useCommandLine({"Fullscreen=0"});
    CUserProfile fresh("Ann", config, nullptr);
    EXPECT_EQ(fresh.getFullscreen(), 0);
    writeUserFile("pr_Qm9i.ini", "Fullscreen=1\n");
    CUserProfile stored("Bob", config, nullptr);
    stored.load();
    EXPECT_EQ(stored.getFullscreen(), 1);
}

TEST_F(ProfileTest, EmptyNameIsFatal) {
    EXPECT_EXIT(
        {
            setMessageBoxHook([](const std::string& text, const std::string&, int) {
                std::fprintf(stderr, "%s\n", text.c_str());
                return 1;
            });
            CUserProfile profile("", config, nullptr);
        },
        ::testing::ExitedWithCode(1), "Can not create profile with empty name!");
}

TEST_F(ProfileTest, FileNameIsFileSafeBase64OfTheName) {
    CUserProfile player("Player", config, nullptr);
    EXPECT_EQ(player.profilePath(), userFolder() + "pr_UGxheWVy.ini");
    // "\xfb\xff" encodes as "_-8=" in the file-safe alphabet; the sanitizer then shrinks "__".
    CUserProfile odd("\xfb\xff", config, nullptr);
    EXPECT_EQ(odd.profilePath(), userFolder() + "pr_-8=.ini");
}

TEST_F(ProfileTest, SaveAndLoadRoundTripEveryField) {
    std::vector<std::string> calls;
    CUserProfile* profile = new CUserProfile("Ann", config, new RecordingExtension(calls));
    profile->setFullscreen(0);
    profile->setWinCursor(-1);
    profile->setEffectsVolume(0.333f);
    profile->setMusicVolume(1.0f);
    profile->setResolution(640, 480);
    profile->setLanguage("data_fr");
    profile->isTooltipShown("Click here", true);
    profile->getOptions().setStringOption("notes", "two\nlines");
    profile->getOptions().setLongOption("stars", 12);
    profile->getOptions().setDoubleOption("time", 12.345f);
    static_cast<RecordingExtension*>(profile->getExtension())->level = "level 3";
    EXPECT_TRUE(profile->save());
    std::string key = intToText(tooltipChecksum("Click here"));
    EXPECT_EQ(readUserFile("pr_QW5u.ini"),
              "Fullscreen=0\nWinCursor=-1\nEffectsVolume=0.33\nMusicVolume=1.00\n"
              "XResolution=640\nYResolution=480\nLanguage=data_fr\nTooltipShowed=" +
                  key +
                  ";\nsLevel=level 3\n\nOptionStrB64[notes]=dHdvCmxpbmVz\n"
                  "OptionLong[stars]=12\nOptionDouble[time]=12.35\n");
    profile->drop();

    CUserProfile* reread = new CUserProfile("Ann", config, new RecordingExtension(calls));
    reread->load();
    EXPECT_EQ(reread->getFullscreen(), 0);
    EXPECT_EQ(reread->getWinCursor(), -1);
    EXPECT_FLOAT_EQ(reread->getEffectsVolume(), 0.33f);
    EXPECT_FLOAT_EQ(reread->getMusicVolume(), 1.0f);
    EXPECT_EQ(reread->getXResolution(), 640);
    EXPECT_EQ(reread->getYResolution(), 480);
    EXPECT_EQ(reread->getLanguage(), "data_fr");
    EXPECT_TRUE(reread->isTooltipShown("Click here", false));
    EXPECT_EQ(reread->getOptions().getStringOption("notes"), "two\nlines");
    EXPECT_EQ(reread->getOptions().getLongOption("stars"), 12);
    EXPECT_FLOAT_EQ(reread->getOptions().getDoubleOption("time"), 12.35f);
    EXPECT_EQ(static_cast<RecordingExtension*>(reread->getExtension())->level, "level 3");
    EXPECT_EQ(reread->changeCount(), 0);
    reread->drop();
    EXPECT_EQ(calls, (std::vector<std::string>{"initDefaults:-:Ann", "save", "destroyed",
                                               "initDefaults:-:Ann", "load", "destroyed"}));
}

TEST_F(ProfileTest, LoadKeepsDefaultsForMissingKeysAndAppliesTheLanguage) {
    writeUserFile("pr_QW5u.ini", "WinCursor=0\n");
    CUserProfile profile("Ann", config, nullptr);
    profile.load();
    EXPECT_EQ(profile.getWinCursor(), 0);
    EXPECT_EQ(profile.getFullscreen(), 1);
    EXPECT_EQ(profile.getLanguage(), "data_DE");
    EXPECT_EQ(getLanguage(), "data_de");
}

TEST_F(ProfileTest, SavesOnlyWhenChanged) {
    writeUserFile("pr_QW5u.ini", "Fullscreen=1\n");
    CUserProfile profile("Ann", config, nullptr);
    profile.load();
    EXPECT_FALSE(profile.save());
    EXPECT_EQ(readUserFile("pr_QW5u.ini"), "Fullscreen=1\n");
    profile.setFullscreen(1);
    profile.getOptions().setLongOption("x", 0);
    EXPECT_FALSE(profile.save());
    profile.setFullscreen(0);
    EXPECT_TRUE(profile.save());
    EXPECT_TRUE(startsWith(readUserFile("pr_QW5u.ini"), "Fullscreen=0\n"));
}

TEST_F(ProfileTest, AMissingProfileFileIsWrittenAtTheFirstSave) {
    CUserProfile profile("Ann", config, nullptr);
    profile.load();
    EXPECT_EQ(profile.changeCount(), 1);
    EXPECT_TRUE(profile.save());
    EXPECT_TRUE(userFileExists("pr_QW5u.ini"));
}

TEST_F(ProfileTest, ApplyHandsVolumesToTheSoundServerWithoutCountingAChange) {
    float seenMusic = -1;
    float seenEffects = -1;
    setVolumeUpdateHook([&](float& music, float& effects) {
        seenMusic = music;
        seenEffects = effects;
        music = 1.01f;
        effects = 0.01f;
    });
    writeUserFile("pr_QW5u.ini", "MusicVolume=0.95\nEffectsVolume=0.05\n");
    CUserProfile profile("Ann", config, nullptr);
    profile.load();
    EXPECT_FLOAT_EQ(seenMusic, 0.95f);
    EXPECT_FLOAT_EQ(seenEffects, 0.05f);
    EXPECT_FLOAT_EQ(profile.getMusicVolume(), 1.01f);
    EXPECT_FLOAT_EQ(profile.getEffectsVolume(), 0.01f);
    EXPECT_EQ(profile.changeCount(), 0);
}

TEST_F(ProfileTest, TooltipIsShownOnceWhenMarked) {
    CUserProfile profile("Ann", config, nullptr);
    profile.load();
    EXPECT_FALSE(profile.isTooltipShown("Hint", false));
    EXPECT_EQ(profile.changeCount(), 1);
    EXPECT_EQ(profile.getTooltipShowed(), "");
    EXPECT_FALSE(profile.isTooltipShown("Hint", true));
    EXPECT_EQ(profile.changeCount(), 2);
    EXPECT_TRUE(profile.isTooltipShown("Hint", true));
    EXPECT_EQ(profile.getTooltipShowed(), intToText(tooltipChecksum("Hint")) + ";");
    EXPECT_FALSE(profile.isTooltipShown("Other hint", false));
}

TEST_F(ProfileTest, TooltipMatchesWholeEntriesOnly) {
    std::string key = intToText(tooltipChecksum("Hint"));
    writeUserFile("pr_QW5u.ini", "TooltipShowed=9" + key + ";" + key + "9;\n");
    CUserProfile profile("Ann", config, nullptr);
    profile.load();
    EXPECT_FALSE(profile.isTooltipShown("Hint", false));
}

TEST_F(ProfileTest, ShowTooltipAlwaysMakesEveryTooltipNewAndAppendsAgain) {
    config.ShowTooltipAlways = 1;
    CUserProfile profile("Ann", config, nullptr);
    std::string key = intToText(tooltipChecksum("Hint"));
    EXPECT_FALSE(profile.isTooltipShown("Hint", true));
    EXPECT_FALSE(profile.isTooltipShown("Hint", true));
    EXPECT_EQ(profile.getTooltipShowed(), key + ";" + key + ";");
}

TEST_F(ProfileTest, SetActiveProfileSwitchesSavesAndTracksRecentPlayers) {
    std::vector<std::string> calls;
    auto factory = [&calls]() -> IProfileExtension* { return new RecordingExtension(calls); };
    config.PastProfiles = {"Bob", "Cy", "Di", "Ann", "Ed"};
    CUserProfile* active = nullptr;
    setActiveProfile(config, active, "  Ann  ", factory);
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->getName(), "Ann");
    EXPECT_EQ(config.ActiveProfile, "Ann");
    EXPECT_EQ(config.PastProfiles, (std::vector<std::string>{"Ann", "Bob", "Cy", "Di", "Ed"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"initDefaults:-:Ann", "load", "onActivated"}));
    EXPECT_EQ(getLanguage(), "data_de");

    calls.clear();
    setActiveProfile(config, active, "Ed<1>", factory);
    EXPECT_TRUE(userFileExists("pr_QW5u.ini"));
    EXPECT_EQ(active->getName(), "Ed_1");
    EXPECT_EQ(config.PastProfiles,
              (std::vector<std::string>{"Ed_1", "Ann", "Bob", "Cy", "Di", "Ed"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"save", "destroyed", "initDefaults:-:Ed_1", "load",
                                               "onActivated"}));

    calls.clear();
    setActiveProfile(config, active, "", factory);
    EXPECT_EQ(active, nullptr);
    EXPECT_EQ(config.ActiveProfile, "Ed_1");
    EXPECT_EQ(calls, (std::vector<std::string>{"save", "destroyed"}));
}

TEST_F(ProfileTest, SetActiveProfileWithAnUnusableNameFallsBackToPlayer) {
    CUserProfile* active = nullptr;
    setActiveProfile(config, active, " ?*: ", nullptr);
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->getName(), "Player");
    EXPECT_EQ(config.ActiveProfile, "Player");
    setActiveProfile(config, active, "", nullptr);
}
