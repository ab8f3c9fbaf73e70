#pragma once

#include "animators/abaseanimators.h"

class CGameDialogFactory;

// Runs a level on real time: on its first step it starts the ship on the level's main path, shows
// the level's name and the energy gauge; afterwards it recharges the hole maker's energy and
// shows the aimer only while the energy suffices. It holds a reference to its level and makes it
// the current level while it lives.
class CLevelController : public CBaseAnimator {
public:
    // The hole maker's energy rises by this much per 100 ms (a full charge takes 5 s).
    static constexpr float kRechargePerStep = 0.02f;
    // Below this energy the aimer is hidden.
    static constexpr float kAimerEnergy = 0.49f;

    explicit CLevelController(CGameDialogFactory* level);
    ~CLevelController() override;

    void onAttached(irr::scene::ISceneNode* node) override;
    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;

private:
    void startLevel();
    void showAimer(int shown);

    CGameDialogFactory* Level;
};
