#include "texture_lists.h"

#include "core/vellumengine.h"
#include "scene/description_values.h"
#include "scene/sprite_macros.h"
#include "scene/texture_atlas.h"
#include "scene/texture_cache.h"
#include "utils/description_path.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <atomic>
#include <deque>
#include <unordered_set>

using namespace irr;

namespace {

const std::string kListHeader = "[List]";

// The section's entries in order without duplicates: plain lines as they stand, wildcard lines
// replaced by the files they match. Entries are compared by the image they name, so a file that
// is both written out and matched by a pattern (which lists full paths) is taken once.
std::deque<std::string> collectEntries(const std::string& sourceName, const std::string& section) {
    std::deque<std::string> entries;
    std::unordered_set<std::string> seen;
    auto take = [&](const std::string& entry) {
        const std::string key = isAtlasComment(entry) ? entry : atlasEntryPath(entry, sourceName);
        if (seen.insert(key).second) {
            entries.push_back(entry);
        }
    };
    for (const std::string& rawLine : splitList(section, '\n', true)) {
        const std::string line = trim(rawLine);
        if (line.find_first_of("*?") == std::string::npos) {
            take(line);
            continue;
        }
        const std::string pattern = resolveDescriptionPath(line, sourceName);
        const std::string folder = splitPath(pattern, true, true, false, false);
        std::vector<std::string> matches;
        listFiles(matches, resolveDataPath(folder), splitPath(pattern, false, false, true, true));
        for (const std::string& match : matches) {
            take(match);
        }
    }
    return entries;
}

// The name of the next page of a section; `namedPages` counts the pages named by "-Name:".
std::string pageName(std::string& givenName, const std::string& sectionName, int& namedPages) {
    static std::atomic<int> fakeTextureNumber{0};
    std::string name;
    if (!givenName.empty()) {
        name = givenName;
        // Only the first page takes the given name; the next one names itself.
        givenName.clear();
    } else if (!sectionName.empty()) {
        name = namedPages == 0 ? sectionName : format("%s_%i", sectionName.c_str(), namedPages);
        ++namedPages;
    } else {
        name = format("FakeTex_%i", fakeTextureNumber++);
    }
    return name;
}

} // namespace

void loadTextureLists(const std::string& sourceName, const std::string& text,
                      const std::string& textureName, bool dynamicOnly) {
    if (getAtlasSize().Width < 2000) {
        return;
    }
    video::IVideoDriver* driver = getEngine().getDriver();
    std::string lists = text;
    expandSpriteMacros(lists, nullptr, nullptr);
    lists = "\n\n\n\n" + lists + "\n" + "\n" + kListHeader;

    std::string givenName = textureName;
    size_t header = lists.find(kListHeader);
    while (header != std::string::npos) {
        const size_t start = header + kListHeader.size();
        const size_t next = lists.find(kListHeader, start);
        if (next == std::string::npos) {
            // The end marker.
            break;
        }
        const std::string section = lists.substr(start, next - start);
        header = next;
        if (dynamicOnly && section.find("-DynamicList:1") == std::string::npos) {
            return;
        }
        if (trim(section).empty()) {
            continue;
        }
        std::deque<std::string> entries = collectEntries(sourceName, trim(section));
        const std::string sectionName = trim(getKeyLine(section, "-Name:"));
        int namedPages = 0;
        while (!entries.empty()) {
            std::vector<TextureRegion> placed;
            video::IImage* page = buildAtlasPage(sourceName, entries, placed);
            if (!page) {
                // The section held no image (only comments and keys); later sections still count.
                break;
            }
            const std::string name = pageName(givenName, sectionName, namedPages);
            removeTextureByName(name);
            if (video::ITexture* texture = driver->addTexture(name.c_str(), page)) {
                ScopedLock guard(textureCacheLock());
                for (TextureRegion& region : placed) {
                    region.Texture = texture;
                    storeTextureRegion(region);
                }
            }
            page->drop();
        }
    }
}
