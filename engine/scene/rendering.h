#pragma once

#include "scene/material_custom.h"
#include "scene/quad_batcher.h"
#include "scene/render_sort.h"

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

class CNodeBasement;

// The render module: draws one frame of the engine's nodes. While a frame is drawn, visible
// nodes register in one of four passes (render order 5, 6 and 17 have passes of their own, every
// other order shares the default pass); each pass is sorted back to front and by material and
// texture, drawn in the order default, 5, 6, 17, and the nodes hand their quads to the batcher.
// It also owns the deferred deletion queue, so that nodes and animators are removed only after
// the frame's drawing.
class CRenderModule {
public:
    static constexpr int PassCount = 4;

    // Adds the node to the pass of its render order; ignored unless a frame is being drawn and
    // the node is visible.
    void addNode(CNodeBasement* node, int renderOrder);
    // Records registered in the pass (0 default, 1 order 5, 2 order 6, 3 order 17).
    size_t registeredNodes(int pass) const { return Lists[pass].size(); }

    // Draws one frame: the scene manager animates the nodes and lets them register, the passes
    // are sorted and drawn, the batch is flushed, the passes emptied and the queue drained.
    void renderAll();
    // Draws the engine's nodes as they stand, without animating anything (a modal prompt shows
    // the scene beneath it while the script that asked waits): the active camera sets the view,
    // the engine nodes below the scene's root register, and the passes are drawn. Nodes of other
    // kinds are left out, and the deletion queue waits for the next full frame.
    void redrawWithoutAnimating();
    bool isActive() const { return Active > 0; }

    // The batcher entry: a quad with its world transform and material (any may be null); all
    // three null draws what is collected and ends the frame.
    void addQuad(const irr::core::matrix4* transform, const irr::video::SMaterial* material,
                 const irr::video::S3DVertex* vertices) {
        batcher.addQuad(transform, material, vertices);
    }
    // addQuad for a quad written straight into the batch: the place of its four vertices.
    irr::video::S3DVertex* appendQuad(const irr::core::matrix4* transform,
                                      const irr::video::SMaterial& material) {
        return batcher.appendQuad(transform, material);
    }
    // appendQuad for a run of quads of one material: the place of the first of `granted` quads
    // (at most `wanted`; ask again for the rest).
    irr::video::S3DVertex* appendQuads(const irr::core::matrix4* transform,
                                       const irr::video::SMaterial& material, int wanted,
                                       int& granted) {
        return batcher.appendQuads(transform, material, wanted, granted);
    }

    // Queues a node (and, when given, the animator that asks for it) for deletion after the
    // frame; one reference to each is held until then.
    void queueDeletion(irr::scene::ISceneNode* node, irr::scene::ISceneNodeAnimator* animator);
    // In queue order: removes queued animators from their nodes; hands a queued engine node with
    // an on-destroy text to the game's node hook (and empties the text) instead of removing it;
    // removes every other queued node from the scene.
    void drainDeletionQueue();
    size_t queuedDeletions() const { return deleteNodes.size(); }

    // At shutdown: empties the passes, drains the queue once more and frees the batch arrays.
    void releaseLists();

    // The custom blend materials, registered once the device exists and released at shutdown.
    void registerCustomMaterials(irr::video::IVideoDriver* driver, bool softwareRendering) {
        materials.registerCustomMaterials(driver, softwareRendering);
    }
    void releaseMaterials() { materials.releaseCustomMaterials(); }
    // The driver's material type behind a "-MaterialType:" index.
    irr::video::E_MATERIAL_TYPE getMaterialType(int index) const;

    // Per-frame statistics, reset by the main loop each frame: one line per draw call, the draw
    // calls and the vertices drawn.
    void resetFrameStatistics() { batcher.resetFrameStatistics(); }
    const std::string& switchList() const { return batcher.switchList(); }
    int switchCount() const { return batcher.switchCount(); }
    int trigCount() const { return batcher.trigCount(); }

private:
    // Sorts, draws and empties the passes, and flushes the batch.
    void drawRegisteredNodes();
    void sortPasses();
    void drawPass(int pass);

    CustomMaterials materials;
    CQuadBatcher batcher;
    std::vector<RenderSortRecord> Lists[PassCount];
    // Something was added to the pass since it was last sorted.
    bool ListUnsorted[PassCount] = {false, false, false, false};
    // The second array the sort's passes alternate with.
    std::vector<RenderSortRecord> sortScratch;
    int Active = 0;
    std::vector<irr::scene::ISceneNode*> deleteNodes;
    std::vector<irr::scene::ISceneNodeAnimator*> deleteAnimators;
};
