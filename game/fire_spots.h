#pragma once

#include "wave_file.h"

#include <vector>

// How near the ship must come to a fire spot's start to activate it.
constexpr float kFireSpotReach = 0.3f;

// Marks every fire spot not yet activated whose start lies within kFireSpotReach of `position`
// and returns copies of them in list order. Each spot activates once for the rest of the level.
std::vector<FireSpot> activateFireSpotsNear(std::vector<FireSpot>& spots,
                                            const irr::core::vector2df& position);
