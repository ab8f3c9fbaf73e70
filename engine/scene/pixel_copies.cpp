#include "pixel_copies.h"

#include "scene/texture_cache.h"

#include <cstring>
#include <map>

using namespace irr;

namespace {

std::map<video::ITexture*, PixelCopy>& pixelCopies() {
    static auto* copies = new std::map<video::ITexture*, PixelCopy>();
    return *copies;
}

} // namespace

const PixelCopy* getPixelCopy(video::ITexture* texture) {
    if (!texture) {
        return nullptr;
    }
    ScopedLock guard(textureCacheLock());
    auto& copies = pixelCopies();
    auto found = copies.find(texture);
    if (found != copies.end()) {
        return &found->second;
    }
    if (texture->getColorFormat() != video::ECF_A8R8G8B8) {
        return nullptr;
    }
    const u8* pixels = static_cast<const u8*>(texture->lock(video::ETLM_READ_ONLY));
    if (!pixels) {
        return nullptr;
    }
    PixelCopy copy;
    copy.Width = texture->getSize().Width;
    copy.Height = texture->getSize().Height;
    copy.Pixels.resize(size_t(copy.Width) * copy.Height);
    const u32 pitch = texture->getPitch();
    for (u32 y = 0; y < copy.Height; ++y) {
        std::memcpy(&copy.Pixels[size_t(y) * copy.Width], pixels + size_t(y) * pitch,
                    size_t(copy.Width) * 4);
    }
    texture->unlock();
    return &(copies[texture] = std::move(copy));
}

void clearPixelCopies() {
    ScopedLock guard(textureCacheLock());
    pixelCopies().clear();
}

void forgetPixelCopy(video::ITexture* texture) {
    ScopedLock guard(textureCacheLock());
    pixelCopies().erase(texture);
}
