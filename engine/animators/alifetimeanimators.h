#pragma once

#include "animators/abaseanimators.h"

#include <atomic>
#include <vector>

// Deletes its node `delay` ms after it started. With a fade time, the node's subtree fades out
// through its AlphaFactor during the last `fade` ms, and the node goes as soon as less than a
// tenth of its factor is left.
class CSelfDestructAnimator : public CBaseAnimator {
public:
    static const char* const kName;

    CSelfDestructAnimator(int delayMs, int fadeMs);

    void onAttached(irr::scene::ISceneNode* node) override;
    void onTick(irr::scene::ISceneNode* node, irr::u32 time) override;

private:
    int Delay;
    int FadeTime;
    float FactorAtAttach = 1.0f;
};

// Hides the node with the given ID for as long as this animator exists (its node lives). Never
// stepped. An ID that no node holds is the fatal error "InvalidVisibi node supply!".
class CHideParentAnimator : public CBaseAnimator {
public:
    explicit CHideParentAnimator(int targetId);
    ~CHideParentAnimator() override;

private:
    int TargetId;
};

// Counts its node in a shared counter for as long as the node lives. Never stepped.
class CCounterHolder : public CBaseAnimator {
public:
    // The counter is not owned and must outlive the holder.
    explicit CCounterHolder(std::atomic<int>* counter);
    ~CCounterHolder() override;

    void finish() override;

private:
    void release();

    std::atomic<int>* Counter;
    int Released = 0;
};

// Keeps its node in a shared list, in attachment order, for as long as the node lives. Never
// stepped.
class CListMembership : public CBaseAnimator {
public:
    // The list is not owned and must outlive the membership.
    explicit CListMembership(std::vector<irr::scene::ISceneNode*>* list);
    ~CListMembership() override;

    void onAttached(irr::scene::ISceneNode* node) override;
    void finish() override;

private:
    void leave();

    std::vector<irr::scene::ISceneNode*>* List;
    irr::scene::ISceneNode* Member = nullptr;
    int Done = 0;
};
