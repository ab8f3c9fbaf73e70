#pragma once

#include <irrlicht/irrlicht.h>

#include <cstdint>
#include <functional>
#include <vector>

class CNodeBasement;

// What the render module knows about a registered node when it orders a pass: its depth in the
// scene, its depth among its flat siblings, its material type and texture, and a position hash
// that makes the order of otherwise equal nodes stable from frame to frame.
struct RenderSortRecord {
    CNodeBasement* Node = nullptr;
    // Texture of layer 0 of the node's first material; null without a material.
    irr::video::ITexture* SortTexture = nullptr;
    // depthKeyOf(x) XOR depthKeyOf(y) of the absolute position.
    int64_t PositionHash = 0;
    // depthKeyOf(z) of the absolute position.
    int64_t DepthKey = 0;
    // Type of the node's first material; 0 without one.
    int SortMaterialType = 0;
    // The node's AbsoluteDepth.
    int SortDepth = 0;
};
// The two 32-bit keys share one 8-byte place: the sort moves every record several times a frame.
static_assert(sizeof(RenderSortRecord) == 2 * sizeof(void*) + 2 * sizeof(int64_t) + 2 * sizeof(int),
              "a sort record has no padding");

// A coordinate times 10^8, truncated towards zero. The key is 64 bits wide, so a scene deeper
// than 21.47 units (where 32 bits overflow) still sorts by its real depth. Coordinates beyond what
// the key holds (infinities included) are kept at its limit; NaN gives 0.
int64_t depthKeyOf(float coordinate);

RenderSortRecord makeSortRecord(CNodeBasement* node);

// The order within a pass: farther first (larger depth key); then the smaller flat depth; then
// the smaller material type; then the smaller texture address, so that equal textures meet;
// then the larger position hash. Inline, since sorting calls it some N log N times a frame.
inline bool drawsBefore(const RenderSortRecord& a, const RenderSortRecord& b) {
    if (a.DepthKey != b.DepthKey) {
        return a.DepthKey > b.DepthKey;
    }
    if (a.SortDepth != b.SortDepth) {
        return a.SortDepth < b.SortDepth;
    }
    if (a.SortMaterialType != b.SortMaterialType) {
        return a.SortMaterialType < b.SortMaterialType;
    }
    if (a.SortTexture != b.SortTexture) {
        return std::less<irr::video::ITexture*>()(a.SortTexture, b.SortTexture);
    }
    return a.PositionHash > b.PositionHash;
}

// Puts the records into the order of drawsBefore with a stable radix sort: one key at a time from
// the least significant (position hash) to the most significant (depth key), by 11-bit digits,
// skipping every key and digit in which all records agree. Records equal in every key keep their
// order. `scratch` is the second array the passes alternate with; both keep their capacity, so a
// frame no larger than an earlier one allocates nothing.
void sortForDrawing(std::vector<RenderSortRecord>& records, std::vector<RenderSortRecord>& scratch);
