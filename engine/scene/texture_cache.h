#pragma once

#include "platform/locks.h"
#include "scene/texture_region.h"

#include <string>

// The process-wide texture cache: regions kept sorted by name (byte order) and found by
// bisection; an insertion marks the array unsorted and the next search sorts it again. The cache
// lives as long as the process; removeTextureByName is the only way entries leave it.
//
// Driver texture names: a texture the cache loads from a file is added to the video driver under
// the texture path itself (the cache key, an engine path), not under the native file name, so
// the cache, the driver and removeTextureByName all speak of the same name. Combined images
// ("...[red_is_transparent]") are named by their full path and atlas pages by their list's name.

// Guards the cache and the pixel copies (pixel_copies.h).
CriticalSectionLock& textureCacheLock();

// The region for a texture path, from the cache or, on a miss, newly made: a path with "[" is
// combined through placeImage; any other path is the driver's texture of that name, loaded from
// the file the path names when the driver has none yet. Empty (no texture) when the image cannot
// be loaded; the caller reports that.
TextureRegion getTextureRegion(const std::string& path);

// Puts the region in place of the cached entry of the same name, or adds it.
void storeTextureRegion(const TextureRegion& region);

// When the driver has a texture of that name: removes it from the driver and forgets every
// region named so, and every other region and pixel copy that still refers to that texture.
void removeTextureByName(const std::string& name);

// Forgets every region and pixel copy without touching the driver: for when the device that owns
// the textures is dropped (its textures die with it).
void forgetTextureCache();
