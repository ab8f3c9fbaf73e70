#include "anchor_table.h"

#include "description_values.h"
#include "platform/locks.h"
#include "utils/debug.h"
#include "utils/string_hash_map.h"
#include "utils/utils_str.h"

namespace {

const char kAnchorHeader[] = "[Anchor]";

struct AnchorTable {
    CriticalSectionLock lock;
    StringHashMap<AnchorPoint> anchors;
};

AnchorTable& table() {
    static AnchorTable* instance = new AnchorTable();
    return *instance;
}

void readAnchorSection(const std::string& section) {
    std::string value;
    getKeyValue(section, "-Name:", value);
    std::string name = trim(value);
    if (name.empty()) {
        return;
    }
    irr::core::vector3df position;
    if (getKeyValue(section, "-Position:", value)) {
        readTaggedFloat(value, 'x', position.X);
        readTaggedFloat(value, 'y', position.Y);
        readTaggedFloat(value, 'z', position.Z);
    }
    irr::core::dimension2df size;
    if (getKeyValue(section, "-Size:", value)) {
        size_t start = value.find_first_not_of(" \t");
        float leading = start == std::string::npos ? 0.0f : readFloatAt(value, start);
        size.Width = leading;
        size.Height = leading;
        readTaggedFloat(value, 'w', size.Width);
        readTaggedFloat(value, 'h', size.Height);
    }
    std::string parent;
    if (getKeyValue(section, "-Parent:", value)) {
        parent = trim(value);
    }
    defineAnchor(name, position, size, parent);
}

} // namespace

void defineAnchor(const std::string& name, const irr::core::vector3df& position,
                  const irr::core::dimension2df& size, const std::string& parentName) {
    AnchorTable& anchors = table();
    ScopedLock guard(anchors.lock);
    anchors.anchors.set(name, AnchorPoint{position, size, parentName});
}

void readAnchors(const std::string& text) {
    std::string sections = "\n" + text + "\n" + kAnchorHeader;
    const size_t headerLength = sizeof(kAnchorHeader) - 1;
    size_t start = sections.find(kAnchorHeader);
    while (start != std::string::npos) {
        size_t bodyStart = start + headerLength;
        size_t next = sections.find(kAnchorHeader, bodyStart);
        if (next == std::string::npos) {
            break;
        }
        readAnchorSection(sections.substr(bodyStart, next - bodyStart));
        start = next;
    }
}

bool findAnchor(const std::string& name, AnchorPoint& out) {
    AnchorTable& anchors = table();
    ScopedLock guard(anchors.lock);
    if (const AnchorPoint* anchor = anchors.anchors.find(name)) {
        out = *anchor;
        return true;
    }
    return false;
}

bool getAnchor(const std::string& name, AnchorPoint& out) {
    if (findAnchor(name, out)) {
        return true;
    }
    showErrorBox(format("Error: undeclared anchor point used: %s", name.c_str()), false);
    return false;
}
