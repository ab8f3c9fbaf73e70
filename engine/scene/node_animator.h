#pragma once

#include <irrlicht/irrlicht.h>

// What node code needs from the engine's own animators: their short name tag and being told that
// they are done with their node. The animator base class derives from it; the library's own
// animators do not, so they have no name and are never told.
class INodeAnimator {
public:
    virtual ~INodeAnimator() = default;

    // The short name tag (at most 7 characters); empty when the animator has none.
    virtual const char* getName() const = 0;
    // A null name empties the tag.
    virtual void setName(const char* name) = 0;
    // The animator's node goes away or the animator is queued for removal.
    virtual void finish() = 0;
};

// The engine animator behind a library animator, or null for any other animator.
inline INodeAnimator* asNodeAnimator(irr::scene::ISceneNodeAnimator* animator) {
    return dynamic_cast<INodeAnimator*>(animator);
}
