#include "render_sort.h"

#include "scene/node_base.h"

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
