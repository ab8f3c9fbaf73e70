#include "rendering.h"

#include "core/vellumengine.h"
#include "utils/debug.h"

void CRenderModule::queueDeletion(irr::scene::ISceneNode* node,
                                  irr::scene::ISceneNodeAnimator* animator) {
    if (!node) {
        return;
    }
    ScopedLock guard(getEngine().getSceneLock());
    node->grab();
    if (animator) {
        animator->grab();
    }
    deleteNodes.push_back(node);
    deleteAnimators.push_back(animator);
}

void CRenderModule::drainDeletionQueue() {
    ScopedLock guard(getEngine().getSceneLock());
    // Draining may queue more pairs (a hook deleting other nodes); those wait for the next drain.
    std::vector<irr::scene::ISceneNode*> nodes;
    std::vector<irr::scene::ISceneNodeAnimator*> animators;
    nodes.swap(deleteNodes);
    animators.swap(deleteAnimators);
    for (size_t i = 0; i < nodes.size(); ++i) {
        irr::scene::ISceneNode* node = nodes[i];
        irr::scene::ISceneNodeAnimator* animator = animators[i];
        if (animator) {
            node->removeAnimator(animator);
            animator->drop();
        } else {
            node->remove();
        }
        node->drop();
    }
}

void CRenderModule::renderAll() {
    ++active;
    if (irr::scene::ISceneManager* scene = getEngine().getSceneManager()) {
        scene->drawAll();
    }
    drainDeletionQueue();
    --active;
}

void CRenderModule::resetFrameStatistics() {
    switchText.clear();
    drawCalls = 0;
    verticesDrawn = 0;
}

irr::video::E_MATERIAL_TYPE CRenderModule::getMaterialType(int index) const {
    if (index < 0 || index >= CustomMaterials::Count) {
        return materials.MaterialTypes[0];
    }
    return materials.MaterialTypes[index];
}
