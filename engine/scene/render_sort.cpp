#include "render_sort.h"

#include "scene/node_base.h"

#include <functional>

int64_t depthKeyOf(float coordinate) {
    return static_cast<int64_t>(static_cast<double>(coordinate) * 1e8);
}

RenderSortRecord makeSortRecord(CNodeBasement* node) {
    RenderSortRecord record;
    record.Node = node;
    if (node->getMaterialCount() > 0) {
        const irr::video::SMaterial& material = node->getMaterial(0);
        record.SortTexture = material.getTexture(0);
        record.SortMaterialType = static_cast<int>(material.MaterialType);
    }
    const irr::core::vector3df position = node->getAbsolutePosition();
    record.PositionHash = depthKeyOf(position.X) ^ depthKeyOf(position.Y);
    record.DepthKey = depthKeyOf(position.Z);
    record.SortDepth = node->getAbsoluteDepth();
    return record;
}

bool drawsBefore(const RenderSortRecord& a, const RenderSortRecord& b) {
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
