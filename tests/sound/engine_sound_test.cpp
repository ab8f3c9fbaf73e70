#include "core/vellumengine.h"
#include "factory/factory_scene.h"
#include "platform/process.h"
#include "scene/sprite_creation_params.h"
#include "script/core_api_sound.h"
#include "script/module_scripting_core.h"
#include "sound/sound_fixture.h"
#include "support/test_game.h"
#include "utils/utils_fs.h"

namespace {

class EngineSound : public FactoryScene<TestGame> {
protected:
    void SetUp() override {
        program.copyTestImage("orange_16.png", "gui/orange.png");
        program.writeData("gui/chime.spr", "-Texture:orange.png\n-Event.Created.Sound:tone\n");
        program.writeData("sounds/tone.wav", toneWav(150));
        program.writeData("sounds/music/theme.wav", toneWav(1000));
        FactoryScene::SetUp();
        CVellumEngine& engine = getEngine();
        engine.setMainThreadId(currentThreadId());
        registerCoreFunction(engine.getScripting().vm(), "core_PlayEffect", "s", core_PlayEffect);
        registerCoreFunction(engine.getScripting().vm(), "core_SetBackgroundMusic", "s",
                             core_SetBackgroundMusic);
    }
    void TearDown() override {
        getEngine().setPauseLevel(2, false);
        getEngine().setMainThreadId(0);
        FactoryScene::TearDown();
    }

    void createChime(const SpriteCreationParams* params) {
        ASSERT_NE(createSprite("gui\\chime.spr", 1, 1, irr::core::vector3df(0, 0, 0), nullptr,
                               params, "test:1"),
                  nullptr);
    }
    static void runScript(const std::string& code) {
        getEngine().getScripting().vm().run(code, "test");
    }

    SoundRecorder recorder{program.folder()};
};

} // namespace

// The engine's server starts once per process, so one recording covers its connections.
TEST_F(EngineSound, CreatedSoundsPreloadedSamplesScriptSoundsAndPauseReachTheEngineServer) {
    CVellumEngine& engine = getEngine();
    CSoundServer& sound = engine.getSound();
    float music = 1.0f;
    float effects = 1.0f;
    sound.setVolumes(0, &music, &effects);
    recorder.startRecording(sound);
    engine.preloadResource(resolveDataPath("sounds\\tone.wav"));
    EXPECT_EQ(sound.loadedSampleCount(), 1);

    SpriteCreationParams silent;
    silent.Silent = 1;
    createChime(&silent);
    recorder.waitUntil(600);
    createChime(nullptr);
    recorder.waitUntil(1200);
    runScript("core_PlayEffect(\"tone\");");
    recorder.waitUntil(1800);
    runScript("core_SetBackgroundMusic(\"theme.wav\");");
    recorder.waitUntil(3400);
    engine.setPauseLevel(2, true);
    recorder.waitUntil(3700);
    createChime(nullptr);
    recorder.waitUntil(4200);
    RecordedOutput output = recorder.stop(sound);

    // The created tone, the script's tone and the music, each after a silence; the silent
    // sprite made no sound, and pausing silenced the music and the sprite created meanwhile.
    EXPECT_EQ(output.onsets(kAudible, 100), 3);
    EXPECT_GT(output.peak(0, output.durationMs()), 10000);
    EXPECT_LE(output.peak(output.durationMs() - 550, output.durationMs()), kSilent);
    // Every play of the preloaded file used its entry.
    EXPECT_EQ(sound.loadedSampleCount(), 1);
}

TEST(EngineSoundVolumes, ProfileVolumesReachTheServerAndAreSavedUnchanged) {
    setLanguage("data_en");
    TestProgram program;
    CVellumEngine& engine = getEngine();
    engine.setActiveProfile("Ann");
    engine.getActiveProfile()->setMusicVolume(0.75f);
    engine.getActiveProfile()->setEffectsVolume(0.97f);
    for (int i = 0; i < 3; ++i) {
        // Saves the changed profile, then reads and applies it again.
        engine.setActiveProfile("Ann");
        CUserProfile* profile = engine.getActiveProfile();
        EXPECT_FLOAT_EQ(profile->getMusicVolume(), 0.75f);
        EXPECT_FLOAT_EQ(profile->getEffectsVolume(), 0.97f);
        EXPECT_NEAR(engine.getSound().getMusicVolume(), 0.7f / 0.9f, 1e-5);
        EXPECT_FLOAT_EQ(engine.getSound().getEffectVolume(), 1.0f);
        profile->markChanged();
    }
}
