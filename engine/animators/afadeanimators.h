#pragma once

#include "animators/abaseanimators.h"

// A linear fade of one opacity value of a node over a duration, ending exactly at its target and
// then removing itself. Every fade is named "ALPH01", and attaching one removes the fade that the
// node already runs, whichever value that one fades.
class CFadeAnimator : public CBaseAnimator {
public:
    static const char* const kName;

    // A negative `fromValue` starts from the node's current value; a negative `toValue` fades
    // from 0 to the node's current value.
    CFadeAnimator(int durationMs, float fromValue, float toValue);

    void onAttached(irr::scene::ISceneNode* node) override;
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

protected:
    virtual float readValue(irr::scene::ISceneNode* node) const = 0;
    virtual void writeValue(irr::scene::ISceneNode* node, float value) const = 0;

    int Duration;
    float FromAlpha;
    float ToAlpha;
};

// Fades the node's own Alpha.
class CAlphaFadeAnimator : public CFadeAnimator {
public:
    using CFadeAnimator::CFadeAnimator;

protected:
    float readValue(irr::scene::ISceneNode* node) const override;
    void writeValue(irr::scene::ISceneNode* node, float value) const override;
};

// Fades the AlphaFactor of the node and its whole subtree.
class CFadeValueAnimator : public CFadeAnimator {
public:
    using CFadeAnimator::CFadeAnimator;

protected:
    float readValue(irr::scene::ISceneNode* node) const override;
    void writeValue(irr::scene::ISceneNode* node, float value) const override;
};
