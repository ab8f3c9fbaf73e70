#pragma once

#include "check/dialog_check.h"

// The check mode's look at a level (a dialog whose header holds "-Game-"): its wave keys (a gap
// ends the list), wave files, the first wave's actors (each an "actors\<name>.spr"), the point
// blocks of every wave (indices in order and without gaps, a main path in the first wave, fire
// spots with a start and an end), the next level and the nodes the level controller drives.
void checkLevelHeader(CheckSession& session, const DialogHeader& header);

// The features a level uses, noted at their first place for the script functions they need: a
// level at all, fire spots, and the tutorial at the first fire spot.
constexpr const char* kLevelFeature = "a level (-Game-)";
constexpr const char* kFireSpotFeature = "a fire spot";
constexpr const char* kFireTutorialFeature = "-Game-ShowTutorialOn1stFire:";
