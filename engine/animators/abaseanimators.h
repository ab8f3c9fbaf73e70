#pragma once

#include "scene/node_animator.h"

#include <irrlicht/irrlicht.h>

// The base of every engine animator. Its time is the device timer's, or, with a base timer key,
// a time of its own that runs at the speed the game gives that key (0 freezes it). It is stepped
// at most once per interval of its own time (25 ms by default, every frame with 0, never with
// kDormantInterval), and removes itself through the render module's deferred deletion queue, so
// it may do that from inside its own step.
class CBaseAnimator : public irr::scene::ISceneNodeAnimator, public INodeAnimator {
public:
    static constexpr irr::u32 kDefaultInterval = 25;
    static constexpr irr::u32 kDormantInterval = 65535;
    static constexpr size_t kMaxNameLength = 7;

    CBaseAnimator();
    ~CBaseAnimator() override;

    void serializeAttributes(irr::io::IAttributes*,
                             irr::io::SAttributeReadWriteOptions* = nullptr) const override {}
    void deserializeAttributes(irr::io::IAttributes*,
                               irr::io::SAttributeReadWriteOptions* = nullptr) override {}
    // The timing step: advances the animator's time, and calls onTick when the animator is due.
    void animateNode(irr::scene::ISceneNode* node, irr::u32 timeMs) override;
    // Animators are never cloned.
    irr::scene::ISceneNodeAnimator* createClone(irr::scene::ISceneNode*,
                                                irr::scene::ISceneManager* = nullptr) override {
        return nullptr;
    }
    irr::scene::ESCENE_NODE_ANIMATOR_TYPE getType() const override {
        return irr::scene::ESNAT_UNKNOWN;
    }

    // Queues the removal of this animator from its node; a second call is ignored. Without a node
    // it is the fatal error "removeThisAnimator with NULL parent!!!".
    virtual void removeThisAnimator();
    // Called once when the animator is attached, before the node holds it.
    virtual void onAttached(irr::scene::ISceneNode*) {}
    // Called when the animator is due, with its own time: calls onStep with the time since the
    // previous tick in units of 100 ms (0 at the first tick).
    virtual void onTick(irr::scene::ISceneNode* node, irr::u32 time);
    virtual void onStep(irr::scene::ISceneNode*, float, irr::u32) {}
    // Marks the animator done; subclasses also release what they hold for the node.
    void finish() override;

    const char* getName() const override { return Name; }
    // At most 7 characters; a longer name shows "Wrong animator name!!!" and is cut.
    void setName(const char* name) override;
    // Puts the animator on a base timer (0: real time) and restarts its time at 0.
    void setBaseTimer(int key);
    int getBaseTimer() const { return BaseTimer; }
    // The start of the animator's time base: 0 on a base timer, else the device time at
    // construction. Elapsed time is the time given to onTick/onStep minus this.
    irr::u32 getStartTime() const;
    // Moves the start of the animator's time base (delayed attachment starts it afresh).
    void setStartTime(irr::u32 time);
    void setInterval(irr::u32 ms) { Interval = ms; }
    irr::u32 getInterval() const { return Interval; }

    irr::scene::ISceneNode* getNode() const { return Node; }
    void setNode(irr::scene::ISceneNode* node) { Node = node; }
    bool isRemoved() const { return Removed != 0; }
    bool isFinished() const { return Finished != 0; }

    // Animators alive in the process.
    static int liveCount();

protected:
    // The device timer's time, the clock of every animator; 0 without a device.
    static irr::u32 deviceTime();

    irr::scene::ISceneNode* Node = nullptr;
    int Removed = 0;
    int Finished = 0;
    irr::u32 AnimTime = 0;
    irr::u32 ScaledStart = 0;
    irr::u32 StartTime;
    irr::u32 LastTime = kNoTime;
    irr::u32 LastTickTime = 0;
    irr::u32 Interval = kDefaultInterval;
    int BaseTimer = 0;
    irr::u32 NextDue = 0;
    irr::u32 Phase;
    char Name[kMaxNameLength + 1] = {};

private:
    static constexpr irr::u32 kNoTime = 0xFFFFFFFFu;
};

// The node-side operations. Each does nothing and returns null when the node or the animator is
// missing; an animator that is not attached is then released, since attaching takes over the
// caller's creation reference.

// Sets the animator's node, runs its onAttached, hands it to the node and releases the caller's
// reference. Returns the animator, which the node now owns.
CBaseAnimator* attachAnimator(irr::scene::ISceneNode* node, CBaseAnimator* animator);
// Attaches an animator that is stepped every frame.
CBaseAnimator* attachAnimatorEveryFrame(irr::scene::ISceneNode* node, CBaseAnimator* animator);
// Attaches an animator that is never stepped (it lives for its attach, its destruction, or to be
// found by name).
CBaseAnimator* attachAnimatorDormant(irr::scene::ISceneNode* node, CBaseAnimator* animator);
// Attaches the animator delayMs of device time from now (at once for 0). When the node goes away
// first, the animator is released without ever being attached.
CBaseAnimator* attachAnimatorAfter(irr::u32 delayMs, irr::scene::ISceneNode* node,
                                   CBaseAnimator* animator);
// Queues the removal of an attached animator from its node.
void detachAnimator(CBaseAnimator* animator);
// Puts every engine animator of the node on the base timer.
void setAnimatorsBaseTimer(irr::scene::ISceneNode* node, int key);
