#pragma once

#include <irrlicht/irrlicht.h>

#include <cstdint>

// What the pixel read-back needs from a sprite. The sprite node implements it: the texture is the
// one in texture layer 0 of its first material, the rectangle its `RegionUV`.
class IPixelSprite {
public:
    virtual irr::video::ITexture* getPixelTexture() const = 0;
    // The part of the texture the sprite's region covers: (umin, vmin) to (umax, vmax).
    virtual irr::core::rectf getPixelRegionUV() const = 0;

protected:
    ~IPixelSprite() = default;
};

// The ARGB value of the sprite's texture at (u, v), each 0..1 across the region: u from the
// region's left edge, v from its bottom edge (upwards, like the scene's y). 0 without a texture,
// without a 32-bit pixel copy, or for a point outside 0..1 or outside the texture. The sprite's
// atlas cell is not taken into account.
uint32_t getSpritePixel(const IPixelSprite& sprite, float u, float v);

// False when any sample around the point is opaque (alpha above 127). The samples are
// (u + du, v + dv) for du and then dv from -radius to radius in steps of `step`; with a step
// below 0.00001 only the first sample, (u - radius, v - radius), is tested.
bool isTransparentAround(const IPixelSprite& sprite, const irr::core::vector2df& point,
                         float radius, float step);
