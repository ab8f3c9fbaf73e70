#include "sprite_pixels.h"

#include "platform/locks.h"
#include "scene/pixel_copies.h"
#include "scene/texture_cache.h"

#include <cmath>

using namespace irr;

namespace {

constexpr float kSmallestStep = 0.00001f;

// How many samples a run from -radius to radius in steps of `step` takes; the count keeps
// rounding from dropping the last one.
int sampleCount(float radius, float step) {
    return int(std::floor(2 * radius / step + 0.0001f)) + 1;
}

} // namespace

uint32_t getSpritePixel(const IPixelSprite& sprite, float u, float v) {
    video::ITexture* texture = sprite.getPixelTexture();
    if (!texture || u < 0 || u > 1 || v < 0 || v > 1) {
        return 0;
    }
    const core::rectf uv = sprite.getPixelRegionUV();
    const core::dimension2du size = texture->getSize();
    // v counts from the region's bottom edge, where the texture coordinate is vmax.
    const float textureU =
        uv.UpperLeftCorner.X + (uv.LowerRightCorner.X - uv.UpperLeftCorner.X) * u;
    const float textureV =
        uv.LowerRightCorner.Y - (uv.LowerRightCorner.Y - uv.UpperLeftCorner.Y) * v;
    const long x = long(float(size.Width) * textureU);
    const long y = long(float(size.Height) * textureV);

    ScopedLock guard(textureCacheLock());
    const PixelCopy* copy = getPixelCopy(texture);
    if (!copy || x < 0 || y < 0 || x >= long(copy->Width) || y >= long(copy->Height)) {
        return 0;
    }
    return copy->Pixels[size_t(y) * copy->Width + size_t(x)];
}

bool isTransparentAround(const IPixelSprite& sprite, const core::vector2df& point, float radius,
                         float step) {
    if (radius < 0) {
        return true;
    }
    const bool singleSample = step < kSmallestStep;
    const int samples = singleSample ? 1 : sampleCount(radius, step);
    for (int i = 0; i < samples; ++i) {
        const float du = -radius + float(i) * step;
        for (int j = 0; j < samples; ++j) {
            const float dv = -radius + float(j) * step;
            if ((getSpritePixel(sprite, point.X + du, point.Y + dv) >> 24) > 127) {
                return false;
            }
            if (singleSample) {
                return true;
            }
        }
    }
    return true;
}
