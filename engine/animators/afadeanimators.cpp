#include "afadeanimators.h"

#include "scene/node_base.h"

const char* const CFadeAnimator::kName = "ALPH01";

CFadeAnimator::CFadeAnimator(int durationMs, float fromValue, float toValue)
    : Duration(durationMs), FromAlpha(fromValue), ToAlpha(toValue) {}

void CFadeAnimator::onAttached(irr::scene::ISceneNode* node) {
    CNodeBasement* engineNode = asEngineNode(node);
    CBaseAnimator* running =
        engineNode != nullptr ? dynamic_cast<CBaseAnimator*>(engineNode->findAnimator(kName, false))
                              : nullptr;
    setName(kName);
    detachAnimator(running);
    if (ToAlpha < 0) {
        ToAlpha = readValue(node);
        FromAlpha = 0;
    }
    if (FromAlpha < 0) {
        FromAlpha = readValue(node);
    } else {
        writeValue(node, FromAlpha);
    }
}

void CFadeAnimator::onTick(irr::scene::ISceneNode* node, irr::u32 time) {
    int elapsed = static_cast<int>(time - getStartTime());
    // A fade without duration is over at its first step.
    if (Duration <= 0 || Duration < elapsed) {
        writeValue(node, ToAlpha);
        removeThisAnimator();
        return;
    }
    float value = FromAlpha - static_cast<float>(elapsed) * (FromAlpha - ToAlpha) /
                                  static_cast<float>(Duration);
    writeValue(node, value < 0 ? 0 : (value > 1 ? 1 : value));
}

float CAlphaFadeAnimator::readValue(irr::scene::ISceneNode* node) const {
    CNodeBasement* engineNode = asEngineNode(node);
    return engineNode != nullptr ? engineNode->getAlpha() : 1.0f;
}

void CAlphaFadeAnimator::writeValue(irr::scene::ISceneNode* node, float value) const {
    if (CNodeBasement* engineNode = asEngineNode(node)) {
        engineNode->setAlpha(value);
    }
}

float CFadeValueAnimator::readValue(irr::scene::ISceneNode* node) const {
    CNodeBasement* engineNode = asEngineNode(node);
    return engineNode != nullptr ? engineNode->getAlphaFactor() : 1.0f;
}

void CFadeValueAnimator::writeValue(irr::scene::ISceneNode* node, float value) const {
    if (CNodeBasement* engineNode = asEngineNode(node)) {
        engineNode->setAlphaFactor(value);
    }
}
