#pragma once

#include "animators/abaseanimators.h"

#include <string>
#include <vector>

// Keeps spawning sprites chosen at random from a list of sources, one every period plus a random
// extra of up to `randomExtra` ms, each the size of the node: as children of the node at its
// origin, or beside it at its position. With Orient set it spawns only while the node moves and
// turns each new sprite to face the direction of movement. Without sources it never spawns.
class CRandomSpriteGenerator : public CBaseAnimator {
public:
    CRandomSpriteGenerator(int periodMs, int randomExtraMs, int asChild,
                           const std::vector<std::string>& files);

    void setOrient(int orient) { Orient = orient; }
    void setAngleOffset(float degrees) { AngleOffset = degrees; }

    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

private:
    irr::u32 NextSpawn = 0;
    int Period;
    int RandomExtra;
    int AsChild;
    int Orient = 0;
    float AngleOffset = 0;
    irr::core::vector3df LastPosition;
    int HasLastPosition = 0;
    std::vector<std::string> Files;
};
