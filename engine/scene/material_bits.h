#pragma once

#include <irrlicht/irrlicht.h>

// Whether two materials hold the same bits in every field the library's material comparison
// reads: each layer's texture, wrap and filter settings and texture matrix pointer, and the
// material's type, colours, parameters and flags. It compares the two materials as eleven
// 16-byte blocks under a mask of those fields' bits, where the library tests some forty fields
// one by one, so the batcher asks it first for every quad.
//
// True means the materials draw alike. False can also mean that only a float's sign of zero
// differs (which the library counts as equal), so a false answer needs the library's comparison.
// On a layout other than this library version's on a 64-bit little-endian machine it always
// answers false.
bool sameMaterialBits(const irr::video::SMaterial& a, const irr::video::SMaterial& b);
