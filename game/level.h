#pragma once

#include "dialogs/module_dialogfactory.h"
#include "hole_maker.h"
#include "wave_file.h"

#include <irrlicht/irrlicht.h>

#include <deque>
#include <string>
#include <vector>

// Level states. Scripts read and set the state themselves and own the values 4 to 9 and from
// kLevelStopped on.
constexpr int kLevelCreated = 0;
constexpr int kLevelAttached = 1;
constexpr int kLevelInPlay = 2;
constexpr int kLevelPaused = 3;
constexpr int kLevelStopped = 10;

// The game's dialog object. Every dialog gets one; a dialog whose header holds "-Game-" is a level:
// it reads its wave files, creates the first wave's actors and gets a level controller.
class CGameDialogFactory : public CDialogFactory {
public:
    void onDialogCreated(CNodeBasement* root, const std::string& header,
                         const std::vector<std::string>& macroParams) override;

    // Reads the point blocks of the wave at `index`. Past the last wave the level is won and the
    // result is true.
    bool loadWave(int index);

    float energy = 1.0f;
    // The holes the player asked for, in order; the hole maker drops them.
    std::deque<HoleShot> shots;
    int showTutorialOnFirstFire = 0;
    // Drive and folder of the dialog's description file, ending with a backslash.
    std::string levelFolder;
    std::string nextLevel;
    std::vector<irr::core::vector2df> mainPath;
    std::vector<FireSpot> fireSpots;
    std::vector<std::string> waveFiles;
    int currentWave = 0;
    int state = kLevelCreated;
};

// The level of the newest level controller, or null when none is alive. Valid as long as that
// controller lives, since the controller holds a reference to it.
CGameDialogFactory* currentLevel();
// Whether the current level is in play (the level time runs).
bool isLevelInPlay();
