#pragma once

#include "animators/abaseanimators.h"

#include <string>

// Plays a sound looped for as long as its node lives: it starts when the animator is made and
// stops when the animator is destroyed with the node. Hiding the node does not stop it. Meant to
// be attached dormant.
class CLoopedSoundAnimator : public CBaseAnimator {
public:
    explicit CLoopedSoundAnimator(const std::string& soundName);
    ~CLoopedSoundAnimator() override;

    // The sound server's looped-effect slot; -1 when the sound did not start.
    int getSoundSlot() const { return SoundSlot; }

private:
    int SoundSlot;
};

// Plays a sound once when its node is destroyed, unless the game is exiting or fully paused
// (nothing should sound while the scene is torn down). Meant to be attached dormant.
class CDestroySoundAnimator : public CBaseAnimator {
public:
    explicit CDestroySoundAnimator(const std::string& soundName);
    ~CDestroySoundAnimator() override;

private:
    std::string SoundName;
};
