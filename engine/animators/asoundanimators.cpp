#include "asoundanimators.h"

#include "core/vellumengine.h"

namespace {

// The sound server's volume argument for "at the effect volume".
const float kEffectVolume = -1.0f;
// At this pause level (exit) or engine stage (exiting) destruction sounds are skipped.
const int kExitPauseLevel = 99;

} // namespace

CLoopedSoundAnimator::CLoopedSoundAnimator(const std::string& soundName)
    : SoundSlot(getEngine().getSound().playLoopedEffect(soundName, kEffectVolume)) {}

CLoopedSoundAnimator::~CLoopedSoundAnimator() {
    if (SoundSlot >= 0) {
        getEngine().getSound().stopLoopedEffect(SoundSlot);
    }
}

CDestroySoundAnimator::CDestroySoundAnimator(const std::string& soundName) : SoundName(soundName) {}

CDestroySoundAnimator::~CDestroySoundAnimator() {
    CVellumEngine& engine = getEngine();
    if (SoundName.empty() || engine.getPauseLevel() >= kExitPauseLevel ||
        engine.getStage() >= STAGE_EXITING) {
        return;
    }
    engine.getSound().playEffect(SoundName, kEffectVolume);
}
