#pragma once

#include "animators/abaseanimators.h"
#include "game_data_files.h"

#include <irrlicht/irrlicht.h>

#include <string>

class CNodeBasement;

// What makes a sprite a game object: its health, attack and type, and optionally a health bar
// (a child sprite whose gauge shows health / maxHealth and fades out after each change). The game
// finds it on a node by its name "OBJIA". A killed object is marked dead at once so that it takes
// part in no further collision events while its node waits for deletion.
class CObjectInfoAnimator : public CBaseAnimator {
public:
    static constexpr const char* kAnimatorName = "OBJIA";
    static constexpr const char* kHealthBarSprite = gamefiles::kHealthBar;
    static constexpr int kHealthBarFadeTimeMs = 3000;

    CObjectInfoAnimator(int health, int attack, const std::string& type, int showHealthBar);
    // Releases the health bar.
    ~CObjectInfoAnimator() override;

    // Creates the health bar when the object shows one.
    void onAttached(irr::scene::ISceneNode* node) override;
    // The health fraction follows the health.
    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;

    int getHealth() const { return Health; }
    void setHealth(int health) { Health = health; }
    int getMaxHealth() const { return MaxHealth; }
    int getAttack() const { return Attack; }
    int getShowHealthBar() const { return ShowHealthBar; }
    const std::string& getObjectType() const { return Type; }
    float getHealthFraction() const { return HealthFraction; }
    // The health bar sprite, or null when the object has none.
    CNodeBasement* getHealthBar() const { return HealthBar; }

    bool isDead() const { return Dead; }
    void markDead() { Dead = true; }

private:
    int Health;
    int MaxHealth;
    int Attack;
    int ShowHealthBar;
    std::string Type;
    float HealthFraction = 1;
    CNodeBasement* HealthBar = nullptr;
    bool Dead = false;
};

// The object info of a node (its animator named "OBJIA"), or null.
CObjectInfoAnimator* findObjectInfo(irr::scene::ISceneNode* node);
