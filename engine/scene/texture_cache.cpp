#include "texture_cache.h"

#include "core/vellumengine.h"
#include "platform/native_path.h"
#include "scene/image_placement.h"
#include "scene/pixel_copies.h"
#include "scene/texture_files.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"

#include <algorithm>
#include <vector>

using namespace irr;

namespace {

bool nameBefore(const TextureRegion& a, const TextureRegion& b) {
    return a.RegionName < b.RegionName;
}

// Regions sorted by name on demand: insertions only append, and the next search sorts.
class SortedRegions {
public:
    TextureRegion* find(const std::string& name) {
        if (!sorted) {
            // A heap sort: no extra memory and no bad cases, whatever order the insertions had.
            std::make_heap(entries.begin(), entries.end(), nameBefore);
            std::sort_heap(entries.begin(), entries.end(), nameBefore);
            sorted = true;
        }
        TextureRegion key;
        key.RegionName = name;
        auto found = std::lower_bound(entries.begin(), entries.end(), key, nameBefore);
        return found != entries.end() && found->RegionName == name ? &*found : nullptr;
    }

    void insert(const TextureRegion& region) {
        entries.push_back(region);
        sorted = false;
    }

    // Removing keeps the order of what stays.
    template <typename Predicate>
    void removeIf(Predicate predicate) {
        entries.erase(std::remove_if(entries.begin(), entries.end(), predicate), entries.end());
    }

    void clear() { entries.clear(); }

private:
    std::vector<TextureRegion> entries;
    bool sorted = true;
};

struct TextureCache {
    CriticalSectionLock lock;
    SortedRegions regions;
};

TextureCache& textureCache() {
    static TextureCache* cache = new TextureCache();
    return *cache;
}

// The driver's texture named by the path, loaded from the path's file and added under the path
// when the driver has none of that name yet.
video::ITexture* loadDriverTexture(video::IVideoDriver* driver, const std::string& path) {
    if (video::ITexture* known = driver->findTexture(path.c_str())) {
        return known;
    }
    video::IImage* image = driver->createImageFromFile(toNativePath(imageFilePath(path)).c_str());
    if (!image) {
        return nullptr;
    }
    video::ITexture* texture = driver->addTexture(path.c_str(), image);
    image->drop();
    return texture;
}

} // namespace

CriticalSectionLock& textureCacheLock() {
    return textureCache().lock;
}

TextureRegion getTextureRegion(const std::string& path) {
    checkPathForm(path);
    TextureCache& cache = textureCache();
    {
        ProfileScope scope("RETRTEXT-BINSEARCH|" __FILE__, __LINE__);
        ScopedLock guard(cache.lock);
        ProfileScope lockedScope("RETRTEXT-BINSEARCH_AFTERLOCK|" __FILE__, __LINE__);
        const TextureRegion* found = cache.regions.find(path);
        if (found && found->hasTexture()) {
            return *found;
        }
    }

    ProfileScope scope("RETRTEXT-CACHMISS|" __FILE__, __LINE__);
    ScopedLock guard(cache.lock);
    TextureRegion region;
    if (path.find('[') != std::string::npos) {
        placeImage(path, region, nullptr, nullptr, 0, 0);
    } else if (video::IVideoDriver* driver = getEngine().getDriver()) {
        ProfileScope driverScope("RETRTEXT-READTEXDRV|" __FILE__, __LINE__);
        if (video::ITexture* texture = loadDriverTexture(driver, path)) {
            region.setFromTexture(texture, path);
        }
    }
    if (!region.hasTexture()) {
        return TextureRegion();
    }
    cache.regions.insert(region);
    return region;
}

void storeTextureRegion(const TextureRegion& region) {
    TextureCache& cache = textureCache();
    ScopedLock guard(cache.lock);
    if (TextureRegion* entry = cache.regions.find(region.RegionName)) {
        *entry = region;
    } else {
        cache.regions.insert(region);
    }
}

void removeTextureByName(const std::string& name) {
    video::IVideoDriver* driver = getEngine().getDriver();
    if (!driver) {
        return;
    }
    TextureCache& cache = textureCache();
    ScopedLock guard(cache.lock);
    video::ITexture* texture = driver->findTexture(name.c_str());
    if (!texture) {
        return;
    }
    // Regions of other names may point at the texture too (the images of an atlas page, or a
    // path written in other letter case, which the driver matches without regard to case); they
    // would be left pointing at a freed texture.
    cache.regions.removeIf([&](const TextureRegion& region) {
        return region.RegionName == name || region.Texture == texture;
    });
    forgetPixelCopy(texture);
    driver->removeTexture(texture);
}

void forgetTextureCache() {
    TextureCache& cache = textureCache();
    ScopedLock guard(cache.lock);
    cache.regions.clear();
    clearPixelCopies();
}
