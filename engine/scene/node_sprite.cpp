#include "node_sprite.h"

#include "core/vellumengine.h"
#include "scene/particle_groups.h"
#include "utils/debug.h"
#include "utils/math_fastmath.h"

#include <cmath>
#include <cstring>

namespace {

const float kRotationEpsilon = 1e-6f;
const float kMinThickness = 0.001f;
const int kDebugBoxes = 2;
const int kDebugWireframe = 4;
const irr::video::SColor kDebugBoxColour(0, 208, 195, 152);

float lerp(float from, float to, float fraction) {
    return from + (to - from) * fraction;
}

} // namespace

CSpriteNode::CSpriteNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager,
                         irr::s32 id, const irr::core::vector3df& position,
                         const irr::core::dimension2df& size)
    : CNodeBasement(parent, manager, id, position, size) {
    ProfileScope scope("ADDSPR-CSpriteNode constr|" __FILE__, __LINE__);
    Material.Wireframe = false;
    RenderOrder = 4;
    setFlatRotation(0);
    setAtlas(0, 0, 1, 1, 0);
}

CSpriteNode::~CSpriteNode() {
    leaveParticleGroup(ParticleGroup);
}

irr::video::SMaterial& CSpriteNode::getMaterial(irr::u32) {
    return Material;
}

irr::u32 CSpriteNode::getMaterialCount() const {
    return 1;
}

irr::video::ITexture* CSpriteNode::getPixelTexture() const {
    return Material.getTexture(0);
}

void CSpriteNode::setTextureRegion(const TextureRegion& region) {
    Region = region;
    Material.setTexture(0, region.Texture);
    RegionUV = region.UV;
    setAtlas(AtlasX, AtlasY, AtlasW, AtlasH, AtlasInset);
}

irr::f32 CSpriteNode::regionU(float u) const {
    return (1 - u) * RegionUV.UpperLeftCorner.X + u * RegionUV.LowerRightCorner.X;
}

irr::f32 CSpriteNode::regionV(float v) const {
    return (1 - v) * RegionUV.UpperLeftCorner.Y + v * RegionUV.LowerRightCorner.Y;
}

void CSpriteNode::setAtlas(float x, float y, float w, float h, float inset) {
    AtlasX = x;
    AtlasY = y;
    AtlasW = w;
    AtlasH = h;
    AtlasInset = inset;
    const float left = regionU(x / w + inset);
    const float right = regionU((x + 1) / w - inset);
    const float top = regionV(y / h + inset);
    const float bottom = regionV((y + 1) / h - inset);
    Vertices[0].TCoords.set(right, bottom);
    Vertices[1].TCoords.set(right, top);
    Vertices[2].TCoords.set(left, top);
    Vertices[3].TCoords.set(left, bottom);
}

void CSpriteNode::setAtlasKeeping(float x, float y, float w, float h, float inset) {
    setAtlas(x < 0 ? AtlasX : x, y < 0 ? AtlasY : y, w < 0 ? AtlasW : w, h < 0 ? AtlasH : h, inset);
}

void CSpriteNode::setFlatRotation(float radians) {
    FlatRotation = radians;
    GeometryValid = 0;
}

void CSpriteNode::scrollTexture(float du, float dv) {
    for (irr::video::S3DVertex& vertex : Vertices) {
        vertex.TCoords.X += du;
        vertex.TCoords.Y += dv;
    }
}

void CSpriteNode::setTextureTiling(float tileW, float tileH, float inset) {
    const float u = Size.Width / tileW - inset;
    const float v = Size.Height / tileH - inset;
    Vertices[0].TCoords.set(u, v);
    Vertices[1].TCoords.set(u, inset);
    Vertices[2].TCoords.set(inset, inset);
    Vertices[3].TCoords.set(inset, v);
}

void CSpriteNode::setFillX(float fraction) {
    // From the cell's left edge to its right edge, with the inset taken off as setAtlas does.
    const float u =
        regionU(lerp(AtlasX / AtlasW + AtlasInset, (AtlasX + 1) / AtlasW - AtlasInset, fraction));
    Vertices[0].TCoords.X = u;
    Vertices[1].TCoords.X = u;
}

void CSpriteNode::setFillY(float fraction) {
    const float v =
        regionV(lerp((AtlasY + 1) / AtlasH - AtlasInset, AtlasY / AtlasH + AtlasInset, fraction));
    Vertices[1].TCoords.Y = v;
    Vertices[2].TCoords.Y = v;
}

void CSpriteNode::placeBetween(const irr::core::vector3df& p1, const irr::core::vector3df& p2,
                               float thickness, bool midpoint, bool rotateOnly, bool length3D,
                               float angleOffsetDegrees) {
    const irr::core::vector3df from = midpoint ? (p1 + p2) * 0.5f : p1;
    const irr::core::vector3df d = p2 - from;
    if (!rotateOnly) {
        const float length = length3D ? vectorLength(d) : vectorLength(d.X, d.Y);
        setPosition(from);
        if (thickness >= kMinThickness) {
            setSize(2 * length, thickness);
        }
    }
    float heading = 0;
    float pitch = 0;
    directionAngles(d.X, d.Y, heading, pitch);
    setFlatRotation((angleOffsetDegrees + 90 - heading) * irr::core::PI / 180);
}

void CSpriteNode::placeBetween(const irr::core::vector3df& p1, const irr::core::vector3df& p2,
                               float thickness, bool midpoint, bool rotateOnly) {
    placeBetween(p1, p2, thickness, midpoint, rotateOnly, false, 0);
}

void CSpriteNode::turnTowards(const irr::core::vector3df& p1, const irr::core::vector3df& p2,
                              float angleOffsetDegrees) {
    placeBetween(p1, p2, 0, false, true, false, angleOffsetDegrees);
}

void CSpriteNode::setParticleGroup(const std::string& name) {
    if (name.empty()) {
        return;
    }
    leaveParticleGroup(ParticleGroup);
    ParticleGroup = name;
    joinParticleGroup(name);
}

void CSpriteNode::setCornerOffset(int corner, const irr::core::vector3df& offset) {
    if (corner >= 0 && corner < 4) {
        CornerOffsets[corner] = offset;
    }
}

void CSpriteNode::computeAxes(const irr::scene::ICameraSceneNode& camera) {
    irr::core::vector3df view = camera.getTarget() - camera.getAbsolutePosition();
    view.normalize();
    const irr::core::vector3df up = camera.getUpVector();
    AxisRight = up.crossProduct(view);
    if (AxisRight.getLengthSQ() == 0) {
        AxisRight.set(up.Y, up.X, up.Z);
    }
    AxisRight.normalize();
    AxisUp = AxisRight.crossProduct(view);
    AxisUp.normalize();
    for (irr::video::S3DVertex& vertex : Vertices) {
        vertex.Normal = -view;
    }
    AxesReady = 1;
}

void CSpriteNode::rebuildGeometry() {
    const irr::core::vector3df r = AxisRight * (0.5f * Size.Width);
    const irr::core::vector3df u = AxisUp * (0.5f * Size.Height);
    irr::core::vector3df corners[4] = {r + u, r - u, -r - u, -r + u};
    if (std::fabs(FlatRotation) > kRotationEpsilon) {
        // One cosine and sine turn all four corners.
        const float cosine = std::cos(FlatRotation);
        const float sine = std::sin(FlatRotation);
        for (irr::core::vector3df& corner : corners) {
            corner = rotateAboutZ(corner, cosine, sine);
        }
    }
    const irr::core::vector3df position = AbsoluteTransformation.getTranslation();
    for (int k = 0; k < 4; ++k) {
        Vertices[k].Pos = position + corners[k];
    }
    GeometryValid = 1;
}

void CSpriteNode::drawDebugBox(irr::video::IVideoDriver* driver) {
    driver->setTransform(irr::video::ETS_WORLD, AbsoluteTransformation);
    irr::video::SMaterial unlit;
    unlit.Lighting = false;
    driver->setMaterial(unlit);
    driver->draw3DBox(Box, kDebugBoxColour);
    driver->setTransform(irr::video::ETS_WORLD, irr::core::IdentityMatrix);
}

void CSpriteNode::render() {
    const int alpha = getEffectiveAlpha();
    if (alpha == 0) {
        return;
    }
    irr::video::IVideoDriver* driver = SceneManager->getVideoDriver();
    irr::scene::ICameraSceneNode* camera = SceneManager->getActiveCamera();
    if (driver == nullptr || camera == nullptr) {
        return;
    }
    if (AxesReady == 0) {
        computeAxes(*camera);
    }
    // The tint's own alpha is replaced by the effective alpha.
    const irr::video::SColor colour((static_cast<irr::u32>(alpha) << 24) | (Tint & 0x00FFFFFFu));
    Vertices[0].Color = colour;
    Vertices[1].Color = colour;
    Vertices[2].Color = colour;
    Vertices[3].Color = colour;
    if (GeometryValid == 0) {
        rebuildGeometry();
    }
    CVellumEngine& engine = getEngine();
    if (engine.isDebugMode()) {
        const int debug = engine.getConfig().Debug;
        Material.Wireframe = (debug & kDebugWireframe) != 0;
        if (isDebugDataVisible() != 0 || (debug & kDebugBoxes) != 0) {
            drawDebugBox(driver);
        }
    }
    // The quad goes straight into the batch; the corner offsets move only the drawn copy. The
    // library's vertex copies itself field by field through a written-out assignment, though it
    // holds only floats and a colour: as one block of bytes the four take a few wide moves.
    irr::video::S3DVertex* quad = engine.getRenderer().appendQuad(&DrawTransform, Material);
    std::memcpy(static_cast<void*>(quad), Vertices, sizeof Vertices);
    if (CornerOffsetsEnabled != 0) {
        quad[0].Pos += CornerOffsets[1];
        quad[1].Pos += CornerOffsets[0];
        quad[2].Pos += CornerOffsets[2];
        quad[3].Pos += CornerOffsets[3];
    }
}

void CSpriteNode::setSpriteMaterial(irr::video::E_MATERIAL_TYPE type, int filtering) {
    Material.Wireframe = false;
    Material.MaterialTypeParam = 0.01f;
    Material.MaterialType = type;
    Material.Lighting = false;
    Material.ZBuffer = irr::video::ECFN_NEVER;
    Material.ZWriteEnable = false;
    Material.GouraudShading = false;
    Material.NormalizeNormals = false;
    Material.BackfaceCulling = false;
    irr::video::SMaterialLayer& layer = Material.TextureLayer[0];
    layer.AnisotropicFilter = filtering == 3 ? 16 : 0;
    layer.TrilinearFilter = filtering == 2;
    layer.BilinearFilter = filtering == 1;
}
