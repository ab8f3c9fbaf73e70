#pragma once

#include "wave_file.h"

#include <vector>

class CGameDialogFactory;

// How near the ship must come to a fire spot's start to activate it.
constexpr float kFireSpotReach = 0.3f;

// Marks every fire spot not yet activated whose start lies within kFireSpotReach of the way from
// `from` to `to` and returns copies of them in list order. The whole way counts, not only its end:
// the ship moves several units per frame, far more than the reach. Each spot activates once for
// the rest of the level.
std::vector<FireSpot> activateFireSpotsNear(std::vector<FireSpot>& spots,
                                            const irr::core::vector2df& from,
                                            const irr::core::vector2df& to);

// Activates the level's fire spots along the ship's way and tells the scripts: "activateFirespot"
// for each, and "showFireTutorial" with the first one when the level asks for the tutorial.
void raiseFireSpotEvents(CGameDialogFactory& level, const irr::core::vector2df& from,
                         const irr::core::vector2df& to);
