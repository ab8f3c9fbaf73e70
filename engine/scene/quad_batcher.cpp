#include "quad_batcher.h"

#include "core/vellumengine.h"
#include "material_bits.h"

#include <algorithm>
#include <cstdio>

namespace {

const irr::u16 kQuadIndices[6] = {0, 2, 1, 0, 3, 2};

} // namespace

void CQuadBatcher::addQuad(const irr::core::matrix4* transform,
                           const irr::video::SMaterial* material,
                           const irr::video::S3DVertex* vertices) {
    prepare(transform, material,
            transform == nullptr && material == nullptr && vertices == nullptr);
    if (vertices != nullptr) {
        std::copy(vertices, vertices + 4, nextQuads(1));
    }
}

irr::video::S3DVertex* CQuadBatcher::appendQuad(const irr::core::matrix4* transform,
                                                const irr::video::SMaterial& material) {
    prepare(transform, &material, false);
    return nextQuads(1);
}

irr::video::S3DVertex* CQuadBatcher::appendQuads(const irr::core::matrix4* transform,
                                                 const irr::video::SMaterial& material, int wanted,
                                                 int& granted) {
    prepare(transform, &material, false);
    granted = std::max(1, std::min(wanted, QuadCapacity - QuadCount));
    return nextQuads(granted);
}

void CQuadBatcher::prepare(const irr::core::matrix4* transform,
                           const irr::video::SMaterial* material, bool endOfFrame) {
    bool fits = QuadCount < QuadCapacity;
    bool takeMaterial = false;
    bool takeTransform = false;
    // The library's comparison covers every field, the textures and settings of every layer
    // included; the bitwise one answers first for the usual quad, whose material is the batch's.
    if (material != nullptr &&
        (BatchMaterialDirty != 0 ||
         (!sameMaterialBits(*material, BatchMaterial) && *material != BatchMaterial))) {
        BatchMaterialDirty = 0;
        fits = false;
        takeMaterial = true;
    }
    if (transform != nullptr && BatchTransformDirty != 0) {
        BatchTransformDirty = 0;
        takeTransform = true;
    }
    if (!fits || endOfFrame) {
        flush(endOfFrame);
    }
    if (takeTransform) {
        BatchTransform = *transform;
    }
    if (takeMaterial) {
        BatchMaterial = *material;
    }
}

irr::video::S3DVertex* CQuadBatcher::nextQuads(int count) {
    const size_t first = static_cast<size_t>(QuadCount) * 4;
    const size_t needed = static_cast<size_t>(QuadCount + count);
    if (needed * 4 > Vertices.size()) {
        const size_t quads = std::min<size_t>(
            std::max<size_t>({2 * static_cast<size_t>(QuadCount), needed, 64}), QuadCapacity);
        Vertices.resize(quads * 4);
        Indices.reserve(quads * 6);
        for (size_t quad = Indices.size() / 6; quad < quads; ++quad) {
            for (irr::u16 index : kQuadIndices) {
                Indices.push_back(static_cast<irr::u16>(quad * 4 + index));
            }
        }
    }
    QuadCount += count;
    return Vertices.data() + first;
}

void CQuadBatcher::flush(bool endOfFrame) {
    irr::video::IVideoDriver* driver = getEngine().getDriver();
    irr::video::ITexture* texture = BatchMaterial.getTexture(0);
    if (QuadCount > 0 && texture != nullptr && driver != nullptr) {
        driver->setMaterial(BatchMaterial);
        if (!worldTransformSet) {
            driver->setTransform(irr::video::ETS_WORLD, BatchTransform);
            worldTransformSet = true;
        }
        driver->drawVertexPrimitiveList(Vertices.data(), static_cast<irr::u32>(QuadCount * 4),
                                        Indices.data(), static_cast<irr::u32>(QuadCount * 2),
                                        irr::video::EVT_STANDARD, irr::scene::EPT_TRIANGLES,
                                        irr::video::EIT_16BIT);
        ++drawCalls;
        verticesDrawn += QuadCount * 4;
        const irr::video::SMaterialLayer& layer = BatchMaterial.TextureLayer[0];
        char line[512];
        std::snprintf(
            line, sizeof line, "%s mp=%i, bili=%i.%i.%i %s\n    ",
            texture->getName().getPath().c_str(), static_cast<int>(BatchMaterial.MaterialTypeParam),
            static_cast<int>(layer.BilinearFilter), static_cast<int>(layer.AnisotropicFilter),
            static_cast<int>(layer.TrilinearFilter), "!!");
        switchText += line;
    }
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
