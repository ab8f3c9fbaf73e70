#pragma once

#include <irrlicht/irrlicht.h>

#include <cstdint>
#include <vector>

// Copies of texture pixels kept for pixel-exact hit tests, one per texture, under the texture
// cache lock (texture_cache.h).
struct PixelCopy {
    irr::u32 Width = 0;
    irr::u32 Height = 0;
    // 32-bit ARGB values, row by row from the top.
    std::vector<uint32_t> Pixels;
};

// The stored copy of the texture's pixels, made on first use. Null for no texture, a texture whose
// colour format is not 32-bit ARGB, or one that cannot be locked. The copy stays valid until
// clearPixelCopies; callers on other threads than the main one hold the texture cache lock while
// they read it.
const PixelCopy* getPixelCopy(irr::video::ITexture* texture);
// Forgets every copy (the engine's cache clearing, and a level's start).
void clearPixelCopies();
// Forgets the copy of one texture (before the texture goes away).
void forgetPixelCopy(irr::video::ITexture* texture);
