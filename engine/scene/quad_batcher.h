#pragma once

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

// Collects the quads of a frame and draws each run of quads that share a material with one draw
// call. The vertex and index arrays keep the largest size a batch has needed, so a frame that is
// no larger than an earlier one allocates nothing, and the indices (the same pattern for every
// quad) are written only once.
class CQuadBatcher {
public:
    // Quads in one batch: four vertices each, and the batch's 16-bit indices reach 65535.
    static constexpr int QuadCapacity = 16384;

    // Adds a quad (vertices right-bottom, right-top, left-top, left-bottom). A material that
    // differs from the batch's in any field starts a new batch; the first transform given in a
    // frame becomes the batch transform. Nothing at all (three nulls) draws what is collected
    // and ends the frame, so the next quad starts afresh.
    void addQuad(const irr::core::matrix4* transform, const irr::video::SMaterial* material,
                 const irr::video::S3DVertex* vertices);
    // addQuad for a quad that the caller writes straight into the batch: returns the place of
    // its four vertices, valid until the next call.
    irr::video::S3DVertex* appendQuad(const irr::core::matrix4* transform,
                                      const irr::video::SMaterial& material);
    // appendQuad for up to `wanted` quads of one material, compared once: returns the place of
    // the first quad's vertices and sets `granted` to how many of them the batch takes (at least
    // one; fewer than wanted where the batch fills up, and the caller asks again for the rest).
    irr::video::S3DVertex* appendQuads(const irr::core::matrix4* transform,
                                       const irr::video::SMaterial& material, int wanted,
                                       int& granted);

    // Per-frame statistics: one line per draw call, the draw calls and the vertices drawn.
    void resetFrameStatistics();
    const std::string& switchList() const { return switchText; }
    int switchCount() const { return drawCalls; }
    int trigCount() const { return verticesDrawn; }

    // Forgets the collected quads and frees the arrays (at shutdown).
    void releaseBuffers();

private:
    // Starts a new batch when the material differs from the batch's or the batch is full, and
    // takes the frame's first transform; flushes at the end of a frame (all three null).
    void prepare(const irr::core::matrix4* transform, const irr::video::SMaterial* material,
                 bool endOfFrame);
    // Makes room for `count` more quads (the batch has room for them); the index pattern of
    // every quad is written once, when the arrays first grow to reach it.
    irr::video::S3DVertex* nextQuads(int count);
    void flush(bool endOfFrame);

    int BatchMaterialDirty = 1;
    int BatchTransformDirty = 1;
    irr::video::SMaterial BatchMaterial;
    irr::core::matrix4 BatchTransform;
    // Both arrays stay at the largest size a batch has needed; QuadCount says how much of them
    // the current batch holds.
    std::vector<irr::video::S3DVertex> Vertices;
    std::vector<irr::u16> Indices;
    int QuadCount = 0;
    // The world transform is set before the frame's first draw call only.
    bool worldTransformSet = false;

    std::string switchText;
    int drawCalls = 0;
    int verticesDrawn = 0;
};
