#include "rendering.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "utils/debug.h"

namespace {

// A pass draws in sorted order, which jumps about in memory, so each node's memory is asked for
// a few nodes ahead of its drawing. The span covers what a sprite's drawing reads: the library's
// and the base's fields and the sprite's corners and material, which come first in each class.
const std::size_t kPrefetchAhead = 8;
const std::size_t kPrefetchBytes = 768;

void prefetchNode(const CNodeBasement* node) {
    const char* memory = reinterpret_cast<const char*>(node);
    for (std::size_t offset = 0; offset < kPrefetchBytes; offset += kNodeSlotAlignment) {
        __builtin_prefetch(memory + offset);
    }
}

int passOf(int renderOrder) {
    switch (renderOrder) {
    case 5:
        return 1;
    case 6:
        return 2;
    case 17:
        return 3;
    default:
        return 0;
    }
}

} // namespace

void CRenderModule::addNode(CNodeBasement* node, int renderOrder) {
    if (Active <= 0 || node == nullptr || !node->isVisible()) {
        return;
    }
    const int pass = passOf(renderOrder);
    Lists[pass].push_back(makeSortRecord(node));
    ListUnsorted[pass] = true;
}

void CRenderModule::renderAll() {
    ++Active;
    if (irr::scene::ISceneManager* scene = getEngine().getSceneManager()) {
        scene->drawAll();
    }
    drawRegisteredNodes();
    drainDeletionQueue();
    --Active;
}

void CRenderModule::redrawWithoutAnimating() {
    irr::scene::ISceneManager* scene = getEngine().getSceneManager();
    if (!scene) {
        return;
    }
    ++Active;
    if (irr::scene::ICameraSceneNode* camera = scene->getActiveCamera()) {
        camera->render();
    }
    for (irr::scene::ISceneNode* child : scene->getRootSceneNode()->getChildren()) {
        if (asEngineNode(child) != nullptr) {
            child->OnRegisterSceneNode();
        }
    }
    drawRegisteredNodes();
    --Active;
}

void CRenderModule::drawRegisteredNodes() {
    sortPasses();
    {
        ProfileScope scope("RENDER NODES|" __FILE__, __LINE__);
        drawPass(0);
    }
    for (int pass = 1; pass < PassCount; ++pass) {
        drawPass(pass);
    }
    batcher.addQuad(nullptr, nullptr, nullptr);
    for (std::vector<RenderSortRecord>& list : Lists) {
        list.clear();
    }
}

void CRenderModule::sortPasses() {
    ProfileScope scope("RENDER SORTING|" __FILE__, __LINE__);
    for (int pass = 0; pass < PassCount; ++pass) {
        if (ListUnsorted[pass]) {
            sortForDrawing(Lists[pass], sortScratch);
            ListUnsorted[pass] = false;
        }
    }
}

void CRenderModule::drawPass(int pass) {
    // A node that registers while the pass is drawn is appended behind the records counted here
    // and is not drawn in this frame. Indexing (not iterators) stays valid when that append
    // moves the array.
    const std::vector<RenderSortRecord>& list = Lists[pass];
    const std::size_t count = list.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kPrefetchAhead < count) {
            prefetchNode(list[i + kPrefetchAhead].Node);
        }
        list[i].Node->render();
    }
}

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
        CNodeBasement* engineNode = asEngineNode(node);
        if (animator) {
            node->removeAnimator(animator);
            animator->drop();
        } else if (engineNode != nullptr && !engineNode->getOnDestroyText().empty()) {
            const std::string text = engineNode->getOnDestroyText();
            getEngine().getClient()->nodeEffectHook(node, text, false);
            engineNode->setOnDestroyText(std::string());
        } else {
            node->remove();
        }
        node->drop();
    }
    // The swapped-out arrays keep their capacity for the next frame's queue.
    nodes.clear();
    animators.clear();
    if (deleteNodes.empty()) {
        deleteNodes.swap(nodes);
        deleteAnimators.swap(animators);
    }
}

void CRenderModule::releaseLists() {
    for (int pass = 0; pass < PassCount; ++pass) {
        std::vector<RenderSortRecord>().swap(Lists[pass]);
        ListUnsorted[pass] = false;
    }
    std::vector<RenderSortRecord>().swap(sortScratch);
    drainDeletionQueue();
    batcher.releaseBuffers();
}

irr::video::E_MATERIAL_TYPE CRenderModule::getMaterialType(int index) const {
    if (index < 0 || index >= CustomMaterials::Count) {
        return materials.MaterialTypes[0];
    }
    return materials.MaterialTypes[index];
}
