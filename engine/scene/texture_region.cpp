#include "texture_region.h"

#include <algorithm>

using namespace irr;

void TextureRegion::setFromTexture(video::ITexture* texture, const std::string& name) {
    Texture = texture;
    RegionName = name;
    if (RegionName.empty() && texture) {
        RegionName = texture->getName().getPath().c_str();
    }
    // A texture that reports no size (the null driver's) counts as one pixel, like no texture,
    // so the coordinates never divide by zero.
    const core::dimension2du size = texture ? texture->getOriginalSize() : core::dimension2du();
    const s32 width = std::max<s32>(1, s32(size.Width));
    const s32 height = std::max<s32>(1, s32(size.Height));
    PixelRect = core::recti(1, 1, width - 1, height - 1);
    UV = core::rectf(1.0f / f32(width), 1.0f / f32(height), f32(width - 1) / f32(width),
                     f32(height - 1) / f32(height));
}
