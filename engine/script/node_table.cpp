#include "node_table.h"

#include "scene/node_base.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "script/node_handles.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

// A zero size would be stored as 1 by the node; scripts that shrink a node to nothing mean a
// node too small to see.
const float kSmallestSize = 1e-05f;

bool isGlobalId(int id) {
    return id >= 0 && id < kGlobalIdCount;
}

float numberSlot(const squirrel::Object& table, const char* key) {
    return table.get(key).toFloat();
}

uint32_t colourComponent(const squirrel::Object& table, const char* key) {
    return static_cast<uint32_t>(std::clamp(table.get(key).toInt(), 0, 255));
}

float nonZeroSize(float size) {
    return size == 0 ? kSmallestSize : size;
}

} // namespace

NodeTableGroups allNodeTableGroups() {
    NodeTableGroups groups;
    groups.identity = 1;
    return groups;
}

void readNodeTable(squirrel::VM& vm, CNodeBasement* node, squirrel::Object& table,
                   const NodeTableGroups& groups) {
    if (groups.position != 0) {
        const irr::core::vector3df& position = node->getPosition();
        table.set("_x", squirrel::Object(position.X));
        table.set("_y", squirrel::Object(position.Y));
        table.set("_z", squirrel::Object(position.Z));
    }
    if (groups.size != 0) {
        irr::core::dimension2df size = node->getSize();
        table.set("_w", squirrel::Object(size.Width));
        table.set("_h", squirrel::Object(size.Height));
    }
    if (groups.rotation != 0) {
        const auto* sprite = dynamic_cast<const CSpriteNode*>(node);
        table.set("_rotation",
                  squirrel::Object(sprite != nullptr ? sprite->getFlatRotation() : 0.0f));
    }
    if (groups.alpha != 0) {
        table.set("_alpha", squirrel::Object(node->getAlpha()));
    }
    if (groups.fade != 0) {
        table.set("_fade", squirrel::Object(node->getAlphaFactor()));
    }
    if (groups.colour != 0) {
        uint32_t tint = node->getTint();
        table.set("_tintR", squirrel::Object(static_cast<int>((tint >> 16) & 0xFF)));
        table.set("_tintG", squirrel::Object(static_cast<int>((tint >> 8) & 0xFF)));
        table.set("_tintB", squirrel::Object(static_cast<int>(tint & 0xFF)));
    }
    if (groups.identity != 0) {
        int id = node->getID();
        irr::scene::ISceneNode* parent = node->getParent();
        table.set("_id", squirrel::Object(id));
        table.set("_parentid", squirrel::Object(parent != nullptr ? parent->getID() : -1));
        table.set("_name", vm.string(isGlobalId(id) ? idToName(id) : std::string()));
    }
    table.set("_pointer", squirrel::Object(nodeHandle(node)));
}

squirrel::Object makeNodeTable(squirrel::VM& vm, CNodeBasement* node) {
    squirrel::Object table = vm.newTable();
    readNodeTable(vm, node, table, allNodeTableGroups());
    return table;
}

void applyNodeTable(CNodeBasement* node, const squirrel::Object& table,
                    const NodeTableGroups& groups) {
    if (groups.position != 0) {
        node->setPosition(irr::core::vector3df(numberSlot(table, "_x"), numberSlot(table, "_y"),
                                               numberSlot(table, "_z")));
    }
    if (groups.size != 0) {
        node->setSize(nonZeroSize(numberSlot(table, "_w")), nonZeroSize(numberSlot(table, "_h")));
    }
    if (groups.rotation != 0) {
        if (auto* sprite = dynamic_cast<CSpriteNode*>(node)) {
            sprite->setFlatRotation(numberSlot(table, "_rotation"));
        }
    }
    if (groups.alpha != 0) {
        node->setAlpha(numberSlot(table, "_alpha"));
    }
    if (groups.fade != 0) {
        node->setAlphaFactor(numberSlot(table, "_fade"));
    }
    if (groups.colour != 0) {
        node->setTint(0xFF000000u | colourComponent(table, "_tintR") << 16 |
                      colourComponent(table, "_tintG") << 8 | colourComponent(table, "_tintB"));
    }
}

CNodeBasement* resolveNodeReference(const squirrel::Object& reference) {
    switch (reference.type()) {
    case squirrel::Type::String: {
        // Looking the name up must not hand it a name ID: a mistyped name would use one up.
        int id = findNameId(reference.toString());
        return id != 0 ? getNodeById(id) : nullptr;
    }
    case squirrel::Type::Integer: {
        int id = reference.toInt();
        return isGlobalId(id) ? getNodeById(id) : nullptr;
    }
    case squirrel::Type::Table: {
        squirrel::Object idSlot = reference.get("_id");
        if (idSlot.isNumber()) {
            int id = idSlot.toInt();
            if (CNodeBasement* node = isGlobalId(id) ? getNodeById(id) : nullptr) {
                return node;
            }
        }
        int handle = reference.get("_pointer").toInt();
        return handle != 0 ? nodeFromHandle(handle) : nullptr;
    }
    default:
        return nullptr;
    }
}
