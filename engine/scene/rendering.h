#pragma once

#include "scene/material_custom.h"

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

// The render module: draws one frame of the scene and owns the deferred deletion queue, so that
// nodes and animators are removed only after the frame's drawing.
class CRenderModule {
public:
    // Queues a node (and, when given, the animator that asks for it) for deletion after the
    // frame; one reference to each is held until then.
    void queueDeletion(irr::scene::ISceneNode* node, irr::scene::ISceneNodeAnimator* animator);
    // Removes the queued animators from their nodes and the queued nodes from the scene, in queue
    // order. A node with an on-destroy text goes to the game's node hook instead.
    void drainDeletionQueue();
    size_t queuedDeletions() const { return deleteNodes.size(); }

    // Draws one frame: the scene manager animates and draws everything, then the queue drains.
    void renderAll();
    bool isActive() const { return active > 0; }

    // The custom blend materials, registered once the device exists and released at shutdown.
    void registerCustomMaterials(irr::video::IVideoDriver* driver, bool softwareRendering) {
        materials.registerCustomMaterials(driver, softwareRendering);
    }
    void releaseMaterials() { materials.releaseCustomMaterials(); }
    // The driver's material type behind a "-MaterialType:" index.
    irr::video::E_MATERIAL_TYPE getMaterialType(int index) const;

    // Per-frame statistics, reset by the main loop each frame.
    void resetFrameStatistics();
    const std::string& switchList() const { return switchText; }
    int switchCount() const { return drawCalls; }
    int trigCount() const { return verticesDrawn; }

private:
    CustomMaterials materials;
    int active = 0;
    std::vector<irr::scene::ISceneNode*> deleteNodes;
    std::vector<irr::scene::ISceneNodeAnimator*> deleteAnimators;
    std::string switchText;
    int drawCalls = 0;
    int verticesDrawn = 0;
};
