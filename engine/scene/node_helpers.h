#pragma once

#include "animators/abaseanimators.h"

#include <irrlicht/irrlicht.h>

#include <string>

class CNodeBasement;
class CSlider;
class CSpriteNode;

// Steps its slider: the shown value follows the bound value.
class CSliderAnimator : public CBaseAnimator {
public:
    explicit CSliderAnimator(CSlider* slider) : Slider(slider) {}

    void onStep(irr::scene::ISceneNode* node, float delta, irr::u32 time) override;

private:
    CSlider* Slider;
};

// A bar whose filled length shows a float value held elsewhere (0 empty, 1 full), growing to the
// right or upwards. The bar's nodes sit under an empty container node, which owns the slider:
// the slider goes with the container. The first step shows the bound value at once; later steps
// (at most every 200 ms) follow it at the follow rate.
class CSlider : public irr::IReferenceCounted {
public:
    static constexpr irr::u32 kStepInterval = 200;

    // The sources are sprite sources, the width and height their size factors (both negative:
    // 1 and 1); an empty background source makes a bar without background. A null parent is the
    // scene's root. The bound value must outlive the slider. The creation reference goes to the
    // container; the caller keeps a plain pointer, valid while the container lives.
    CSlider(const irr::core::vector3df& position, const float* boundValue,
            const std::string& backgroundSource, const std::string& fillSource, float width,
            float height, irr::scene::ISceneNode* parent, bool vertical);

    // How fast the shown value catches up: it moves 0.00003 x rate per 100 ms (10 by default).
    void setFollowRate(float rate) { FollowRate = rate; }
    // Removes the slider's nodes at the next deletion pass, or, with a fade time, fades them out
    // and removes them at its end.
    void dismiss(int fadeMs);
    // Moves the shown value towards the bound value and shows it; `delta` is the animator's
    // (units of 100 ms; 0 shows the bound value at once).
    void update(float delta);

    CNodeBasement* getContainer() const { return Container; }
    CSpriteNode* getFill() const { return Fill; }
    CNodeBasement* getBackground() const { return Background; }

private:
    void placeFill(float shown);

    float BarHeight;
    float BarWidth;
    irr::core::dimension2df FullSize;
    irr::core::vector3df StartPoint;
    irr::core::vector3df EndPoint;
    irr::core::vector3df PlacementWeights{0.5f, 0, 0};
    const float* BoundValue;
    CSliderAnimator* Animator = nullptr;
    CNodeBasement* Container = nullptr;
    int Vertical;
    CSpriteNode* Fill = nullptr;
    CNodeBasement* Background = nullptr;
    float FollowRate = 10.0f;
    float ShownValue = -1.0f;
};
