#include "quad_batcher.h"

#include "core/vellumengine.h"

#include <cstdio>

namespace {

const irr::u16 kQuadIndices[6] = {0, 2, 1, 0, 3, 2};

} // namespace

void CQuadBatcher::addQuad(const irr::core::matrix4* transform,
                           const irr::video::SMaterial* material,
                           const irr::video::S3DVertex* vertices) {
    bool fits = QuadCount < QuadCapacity;
    bool takeMaterial = false;
    bool takeTransform = false;
    // The library's comparison covers every field, the textures and settings of every layer
    // included.
    if (material != nullptr && (BatchMaterialDirty != 0 || *material != BatchMaterial)) {
        BatchMaterialDirty = 0;
        fits = false;
        takeMaterial = true;
    }
    if (transform != nullptr && BatchTransformDirty != 0) {
        BatchTransformDirty = 0;
        takeTransform = true;
    }
    const bool endOfFrame = transform == nullptr && material == nullptr && vertices == nullptr;
    if (!fits || endOfFrame) {
        flush(endOfFrame);
    }
    if (takeTransform) {
        BatchTransform = *transform;
    }
    if (takeMaterial) {
        BatchMaterial = *material;
    }
    if (vertices != nullptr) {
        const irr::u16 first = static_cast<irr::u16>(Vertices.size());
        Vertices.insert(Vertices.end(), vertices, vertices + 4);
        for (irr::u16 index : kQuadIndices) {
            Indices.push_back(static_cast<irr::u16>(first + index));
        }
        ++QuadCount;
    }
}

void CQuadBatcher::flush(bool endOfFrame) {
    irr::video::IVideoDriver* driver = getEngine().getDriver();
    irr::video::ITexture* texture = BatchMaterial.getTexture(0);
    if (!Vertices.empty() && texture != nullptr && driver != nullptr) {
        driver->setMaterial(BatchMaterial);
        if (!worldTransformSet) {
            driver->setTransform(irr::video::ETS_WORLD, BatchTransform);
            worldTransformSet = true;
        }
        driver->drawVertexPrimitiveList(Vertices.data(), static_cast<irr::u32>(Vertices.size()),
                                        Indices.data(), static_cast<irr::u32>(QuadCount * 2),
                                        irr::video::EVT_STANDARD, irr::scene::EPT_TRIANGLES,
                                        irr::video::EIT_16BIT);
        ++drawCalls;
        verticesDrawn += static_cast<int>(Vertices.size());
        const irr::video::SMaterialLayer& layer = BatchMaterial.TextureLayer[0];
        char line[512];
        std::snprintf(
            line, sizeof line, "%s mp=%i, bili=%i.%i.%i %s\n    ",
            texture->getName().getPath().c_str(), static_cast<int>(BatchMaterial.MaterialTypeParam),
            static_cast<int>(layer.BilinearFilter), static_cast<int>(layer.AnisotropicFilter),
            static_cast<int>(layer.TrilinearFilter), "!!");
        switchText += line;
    }
    // clear() keeps the capacity: the arrays stay at the largest size seen.
    Vertices.clear();
    Indices.clear();
    QuadCount = 0;
    if (endOfFrame) {
        BatchMaterialDirty = 1;
        BatchTransformDirty = 1;
        worldTransformSet = false;
    }
}

void CQuadBatcher::resetFrameStatistics() {
    switchText.clear();
    drawCalls = 0;
    verticesDrawn = 0;
}

void CQuadBatcher::releaseBuffers() {
    std::vector<irr::video::S3DVertex>().swap(Vertices);
    std::vector<irr::u16>().swap(Indices);
    QuadCount = 0;
    BatchMaterial = irr::video::SMaterial();
    BatchMaterialDirty = 1;
    BatchTransformDirty = 1;
    worldTransformSet = false;
}
