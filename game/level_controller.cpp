#include "level_controller.h"

#include "animators/aatlasgauge.h"
#include "fire_spots.h"
#include "hole_maker.h"
#include "level.h"
#include "path_follower.h"
#include "scene/node_base.h"
#include "scene/node_text.h"
#include "scene/node_utilities.h"
#include "utils/utils_lang.h"

#include <algorithm>
#include <memory>

namespace {

CGameDialogFactory* newestLevel = nullptr;
// Whether the aimer is shown (1), hidden (0) or not yet set (-1); shared by all level controllers.
int aimerShown = -1;

// The energy gauge: shows the level's energy as it is at each step (a hole's cost at once, so
// the gauge never promises energy that is gone), and holds a reference to the level, so the
// watched value lives as long as the gauge does.
class CEnergyGauge : public CAtlasGaugeAnimator {
public:
    explicit CEnergyGauge(CGameDialogFactory* level)
        : CAtlasGaugeAnimator(&level->energy, 0), Level(level) {
        Level->grab();
    }
    ~CEnergyGauge() override { Level->drop(); }

private:
    CGameDialogFactory* Level;
};

// A reference to the level for the ship's handlers, released with the follower.
std::shared_ptr<CGameDialogFactory> holdLevel(CGameDialogFactory* level) {
    level->grab();
    return std::shared_ptr<CGameDialogFactory>(level,
                                               [](CGameDialogFactory* held) { held->drop(); });
}

} // namespace

CGameDialogFactory* currentLevel() {
    return newestLevel;
}

bool isLevelInPlay() {
    return newestLevel && newestLevel->state == kLevelInPlay;
}

CLevelController::CLevelController(CGameDialogFactory* level) : Level(level) {
    Level->grab();
    Level->energy = 1.0f;
    newestLevel = Level;
    setCurrentLevelShots(&Level->shots, &Level->energy);
}

CLevelController::~CLevelController() {
    if (newestLevel == Level) {
        newestLevel = nullptr;
    }
    if (currentLevelShots().queue == &Level->shots) {
        setCurrentLevelShots(nullptr, nullptr);
    }
    Level->drop();
}

void CLevelController::onAttached(irr::scene::ISceneNode*) {
    Level->state = kLevelAttached;
}

void CLevelController::onStep(irr::scene::ISceneNode*, float delta, irr::u32) {
    if (Level->state >= kLevelStopped) {
        return;
    }
    if (Level->state == kLevelAttached) {
        Level->state = kLevelInPlay;
        startLevel();
        return;
    }
    Level->energy = std::min(1.0f, Level->energy + delta * kRechargePerStep);
    showAimer(Level->energy < kAimerEnergy ? 0 : 1);
}

void CLevelController::startLevel() {
    aimerShown = -1;
    if (CNodeBasement* ship = getNodeByName("mad_ship")) {
        auto* follower = new CPathFollower(Level->mainPath, 1.0f, 0.5f);
        follower->setBaseTimer(1);
        std::shared_ptr<CGameDialogFactory> level = holdLevel(Level);
        follower->setPathEndHandler([level, follower]() {
            ++level->currentWave;
            if (level->loadWave(level->currentWave)) {
                return true;
            }
            follower->setPath(level->mainPath);
            return false;
        });
        follower->setMoveHandler(
            [level](const irr::core::vector2df& from, const irr::core::vector2df& to) {
                raiseFireSpotEvents(*level, from, to);
            });
        attachAnimator(ship, follower);
    }
    if (CTextNode* label = findTextNode("level_name")) {
        label->setText(localizeIn("LEVELNAME", "LEVELNAME", Level->FilePath));
    }
    if (CNodeBasement* gaugeNode = getNodeByName("generator_energy")) {
        attachAnimator(gaugeNode, new CEnergyGauge(Level));
    }
}

void CLevelController::showAimer(int shown) {
    if (aimerShown == shown) {
        return;
    }
    // Looked up each time: the aimer may go away before the level does.
    CNodeBasement* aimer = getNodeByName("HoleMakerAimer");
    if (!aimer) {
        return;
    }
    aimerShown = shown;
    aimer->setAlphaFactor(shown ? 1.0f : 0.0f);
}
