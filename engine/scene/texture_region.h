#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

// A named rectangle of a driver texture: what sprites and fonts hold instead of a whole texture.
// The texture belongs to the video driver; the region does not hold a reference to it.
struct TextureRegion {
    // Null when the region is empty (nothing could be loaded).
    irr::video::ITexture* Texture = nullptr;
    // The image path the region was made for; the texture cache's key.
    std::string RegionName;
    // The region in texture coordinates: (umin, vmin) to (umax, vmax).
    irr::core::rectf UV;
    // The region in pixels of the texture: (left, top) to (right, bottom).
    irr::core::recti PixelRect;

    // The whole texture but its outermost pixel on every side, which images carry as a border so
    // that filtering never bleeds in colours from outside. The name is the given one, or the
    // texture's own name when none is given. Without a texture the size counts as 1 by 1.
    void setFromTexture(irr::video::ITexture* texture, const std::string& name = std::string());

    bool hasTexture() const { return Texture != nullptr; }
};
