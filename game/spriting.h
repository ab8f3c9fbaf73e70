#pragma once

#include "scene/sprite_description.h"

#include <string>
#include <vector>

// The game's own description fields with their defaults.
struct GameSpriteDescriptionFields {
    // "-Animation.GeometryWarp:" t (period), a (amplitude).
    int WarpTime = 0;
    float WarpAmplitude = 0;
    // 1 when "-GameLogic-FollowCursor:" is given; its s is the speed.
    int FollowCursor = 0;
    float FollowSpeed = 0;
    // "-Animation.Physics2D:" exactly as written; the physics animator parses it.
    std::string PhysicsParameters;
    // "-GameLogic-ObjectInfo:" h, a, b and the type written after t (which therefore comes last).
    int ObjectHealth = 0;
    int ObjectAttack = 0;
    int ObjectHealthBar = 0;
    std::string ObjectType;
    // "-Animation.Align2Path:" as a plain integer.
    int AlignToPath = 0;
};

// The game's sprite description record: the engine's keys plus the game's own animation and
// game-logic keys, read after the engine's keys and turned into animators once the node exists.
class CGameSpriteDescription : public SpriteDescription, public GameSpriteDescriptionFields {
public:
    // Starts from the game fields' defaults (reset restores only the engine's fields), so a
    // record parsed again keeps nothing of its previous text.
    void parseCustomKeys(const std::string& text, const std::vector<std::string>* macroParams,
                         const SpriteCreationParams* creationParams) override;
    // Attaches the geometry warp of "-Animation.GeometryWarp:" when its period is above 0, the
    // hole maker of "-GameLogic-FollowCursor:", the align-to-path animator when
    // "-Animation.Align2Path:" is not 0, then the object info of "-GameLogic-ObjectInfo:" when its
    // health is not 0, then the body of "-Animation.Physics2D:" when its parameters are not empty.
    void applyCustomKeys(CNodeBasement* node, const SpriteCreationParams* creationParams) override;
};
