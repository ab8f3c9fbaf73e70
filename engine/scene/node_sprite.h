#pragma once

#include "scene/node_base.h"
#include "scene/sprite_pixels.h"
#include "scene/texture_region.h"

#include <irrlicht/irrlicht.h>

#include <string>

// The textured quad almost everything on screen is made of: a texture region, a cell of an atlas
// grid within it, a flat rotation in the screen plane and one material. The quad lies in the
// camera's plane; its corners are rebuilt only when the node moves, is resized or turned. It
// draws by handing its four vertices to the render module's batcher.
//
// Vertices: 0 right-bottom, 1 right-top, 2 left-top, 3 left-bottom (in atlas terms).
// Pixel-exact hit tests read the sprite's texture through getSpritePixel (sprite_pixels.h).
class CSpriteNode : public CNodeBasement, public IPixelSprite {
public:
    // A sprite of render order 4 showing cell (0, 0) of a 1 by 1 atlas, unrotated, no texture.
    CSpriteNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* manager, irr::s32 id,
                const irr::core::vector3df& position, const irr::core::dimension2df& size);
    // Leaves the sprite's particle group.
    ~CSpriteNode() override;

    // Hands the quad (tinted, at the effective alpha) to the batcher; nothing when the effective
    // alpha is 0 or there is no driver or active camera. In debug mode the "Debug" bit of weight
    // 4 turns wireframe on, and weight 2 (or the node's debug data) draws the node's box.
    void render() override;
    // The sprite's one material, whatever the index.
    irr::video::SMaterial& getMaterial(irr::u32 index) override;
    irr::u32 getMaterialCount() const override;

    // The texture of layer 0 of the material and the region's texture coordinates.
    irr::video::ITexture* getPixelTexture() const override;
    irr::core::rectf getPixelRegionUV() const override { return RegionUV; }

    // Keeps a copy of the region, puts its texture in layer 0 of the material and maps the
    // current atlas cell into it.
    void setTextureRegion(const TextureRegion& region);
    const TextureRegion& getRegion() const { return Region; }
    // The region's texture coordinates: (umin, vmin) to (umax, vmax).
    const irr::core::rectf& getRegionUV() const { return RegionUV; }

    // Shows cell (x, y) of a grid of w columns and h rows laid over the region, with `inset`
    // (in cell-relative texture units) taken off each side of the cell.
    void setAtlas(float x, float y, float w, float h, float inset);
    // Like setAtlas, but a negative x, y, w or h keeps its current value.
    void setAtlasKeeping(float x, float y, float w, float h, float inset);
    float getAtlasX() const { return AtlasX; }
    float getAtlasY() const { return AtlasY; }
    float getAtlasW() const { return AtlasW; }
    float getAtlasH() const { return AtlasH; }
    float getAtlasInset() const { return AtlasInset; }

    // Sets the material up the way every engine sprite draws: the given blend type (parameter
    // 0.01), no lighting, no depth test or writes, flat shading, no culling, and the texture
    // filtering mode (3 anisotropic, 2 trilinear, 1 bilinear, anything else none).
    void setSpriteMaterial(irr::video::E_MATERIAL_TYPE type, int filtering);

    // Rotation about the view axis in radians, counter-clockwise on screen.
    void setFlatRotation(float radians);
    float getFlatRotation() const { return FlatRotation; }

    // Moves the texture coordinates of all four corners.
    void scrollTexture(float du, float dv);
    // Texture coordinates for a texture that repeats every tileW by tileH scene units over the
    // node's size (not mapped into the region: the texture wraps).
    void setTextureTiling(float tileW, float tileH, float inset);
    // Shows only the first `fraction` of the atlas cell across (setFillX) or from the bottom up
    // (setFillY), for bars.
    void setFillX(float fraction);
    void setFillY(float fraction);

    // Places the sprite at p1 (or midway between p1 and p2 with `midpoint`), twice as long as the
    // distance from there to p2 (in X and Y, or in 3D with `length3D`) and `thickness` high
    // (the size stays when thickness is below 0.001), and turns its X axis towards p2 plus
    // `angleOffsetDegrees`. With `rotateOnly` only the turn is made.
    void placeBetween(const irr::core::vector3df& p1, const irr::core::vector3df& p2,
                      float thickness, bool midpoint, bool rotateOnly, bool length3D,
                      float angleOffsetDegrees);
    // placeBetween in 2D without an angle offset.
    void placeBetween(const irr::core::vector3df& p1, const irr::core::vector3df& p2,
                      float thickness, bool midpoint, bool rotateOnly);
    // Only turns the sprite as if it ran from p1 towards p2, plus the angle offset.
    void turnTowards(const irr::core::vector3df& p1, const irr::core::vector3df& p2,
                     float angleOffsetDegrees);

    // Counts the sprite in the named particle group (an empty name changes nothing); a sprite
    // that was already counted in a group leaves that one first.
    void setParticleGroup(const std::string& name);
    const std::string& getParticleGroup() const { return ParticleGroup; }

    // Per-corner displacements added to the drawn corners while enabled: offset 1 moves vertex 0,
    // offset 0 vertex 1, offsets 2 and 3 vertices 2 and 3.
    void setCornerOffsetsEnabled(bool enabled) { CornerOffsetsEnabled = enabled ? 1 : 0; }
    bool areCornerOffsetsEnabled() const { return CornerOffsetsEnabled != 0; }
    void setCornerOffset(int corner, const irr::core::vector3df& offset);
    const irr::core::vector3df& getCornerOffset(int corner) const { return CornerOffsets[corner]; }

    // The quad as last built (positions once the sprite has been drawn).
    const irr::video::S3DVertex* getVertices() const { return Vertices; }

private:
    void computeAxes(const irr::scene::ICameraSceneNode& camera);
    void rebuildGeometry();
    void drawDebugBox(irr::video::IVideoDriver* driver);
    irr::f32 regionU(float u) const;
    irr::f32 regionV(float v) const;

    // What drawing reads every frame comes first and together (see CNodeBasement).
    float FlatRotation = 0;
    int CornerOffsetsEnabled = 0;
    int AxesReady = 0;
    irr::core::vector3df AxisRight;
    irr::core::vector3df AxisUp;
    irr::video::S3DVertex Vertices[4];
    irr::video::SMaterial Material;
    irr::core::rectf RegionUV{0, 0, 1, 1};
    TextureRegion Region;
    float AtlasX = 0;
    float AtlasY = 0;
    float AtlasW = 1;
    float AtlasH = 1;
    float AtlasInset = 0;
    irr::core::vector3df CornerOffsets[4];
    irr::core::matrix4 DrawTransform;
    std::string ParticleGroup;
};
