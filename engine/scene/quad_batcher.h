#pragma once

#include <irrlicht/irrlicht.h>

#include <string>
#include <vector>

// Collects the quads of a frame and draws each run of quads that share a material with one draw
// call. The vertex and index arrays keep the largest size a batch has needed, so a frame that is
// no larger than an earlier one allocates nothing.
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

    // Per-frame statistics: one line per draw call, the draw calls and the vertices drawn.
    void resetFrameStatistics();
    const std::string& switchList() const { return switchText; }
    int switchCount() const { return drawCalls; }
    int trigCount() const { return verticesDrawn; }

    // Forgets the collected quads and frees the arrays (at shutdown).
    void releaseBuffers();

private:
    void flush(bool endOfFrame);

    int BatchMaterialDirty = 1;
    int BatchTransformDirty = 1;
    irr::video::SMaterial BatchMaterial;
    irr::core::matrix4 BatchTransform;
    std::vector<irr::video::S3DVertex> Vertices;
    std::vector<irr::u16> Indices;
    int QuadCount = 0;
    // The world transform is set before the frame's first draw call only.
    bool worldTransformSet = false;

    std::string switchText;
    int drawCalls = 0;
    int verticesDrawn = 0;
};
