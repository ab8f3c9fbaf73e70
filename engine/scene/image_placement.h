#pragma once

#include "scene/texture_region.h"

#include <irrlicht/irrlicht.h>

#include <cstdint>
#include <string>
#include <vector>

// Atlas pages are divided into cells of this many pixels on each side.
constexpr int kAtlasCellSize = 32;

// Copies the image a texture path names into a 32-bit target and describes where it landed.
// The file is the path up to its first "[", "]" or "|"; when the path contains
// "red_is_transparent", pure red pixels (255, 0, 0) get alpha 0. The region is named by the full
// path and covers the image without its one-pixel border.
//
// Without a grid (page and grid null) the target is a new image of the image's size, added to the
// driver as a texture named by the full path; the region gets that texture. With a grid the target
// is the page (kAtlasCellSize x columns by kAtlasCellSize x rows pixels) and `grid` holds one flag
// per cell, row by row, non-zero when used: the image takes the first block of free cells, rows
// from the top and columns from the left, and the region gets no texture (the page becomes one
// later).
//
// Returns 0 when placed, 1 when the page has no room. An image that cannot be loaded, one smaller
// than a cell in either direction, a page given without a grid and a target that is not 32-bit
// ARGB are fatal errors.
int placeImage(const std::string& path, TextureRegion& region, irr::video::IImage* page,
               std::vector<uint8_t>* grid, int columns, int rows);
