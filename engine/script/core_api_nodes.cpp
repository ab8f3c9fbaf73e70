#include "core_api_nodes.h"

#include "animators/afadeanimators.h"
#include "animators/alifetimeanimators.h"
#include "core/vellumengine.h"
#include "input/focus_chain.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "script/core_arguments.h"
#include "script/node_table.h"
#include "script/screen_points.h"
#include "utils/option_set.h"
#include "utils/utils_str.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

const char* const kCreationTag = "core_CreateSprite";
// Sizes at or below this in the options table of the second form leave the size alone.
const float kSmallestSizeOption = 0.001f;

// What OptionSet::findOption says it found.
enum PropertyType { kStringProperty = 1, kIntProperty = 2, kFloatProperty = 3 };

CNodeBasement* nodeArgument(const squirrel::CallContext& call, int index) {
    return resolveNodeReference(call.arg(index));
}

bool isTable(const squirrel::Object& value) {
    return value.type() == squirrel::Type::Table;
}

// The value of an option slot, or the fallback when the slot is missing.
float numberOption(const squirrel::Object& options, const char* key, float fallback) {
    return options.has(key) ? options.get(key).toFloat() : fallback;
}

// Whether `ancestor` is `node` or lies above it.
bool isAncestorOrSelf(irr::scene::ISceneNode* ancestor, irr::scene::ISceneNode* node) {
    for (; node != nullptr; node = node->getParent()) {
        if (node == ancestor) {
            return true;
        }
    }
    return false;
}

// What core_CreateSprite reads from its arguments.
struct SpriteRequest {
    irr::core::vector3df position;
    float width = 1;
    float height = 1;
    bool underCursor = false;
    bool underLastClick = false;
    bool returnTable = false;
    std::string name;
    CNodeBasement* parent = nullptr;
};

// A parent argument: null or an empty name means none; anything else must name a node.
bool readParent(const squirrel::Object& reference, SpriteRequest& request) {
    if (reference.isNull() ||
        (reference.type() == squirrel::Type::String && reference.toString().empty())) {
        return true;
    }
    request.parent = resolveNodeReference(reference);
    return request.parent != nullptr;
}

void readCommonOptions(const squirrel::Object& options, SpriteRequest& request) {
    request.position.X = options.get("x").toFloat();
    request.position.Y = options.get("y").toFloat();
    request.position.Z = options.get("z").toFloat();
    request.underCursor = options.get("underCursor").toBool();
    request.underLastClick = options.get("underLastClick").toBool();
    request.returnTable = options.get("retSprite").toBool();
}

// (file, parent name, options) or (file, options, parent); false when a parent is given that
// names no node.
bool readSpriteRequest(const squirrel::CallContext& call, SpriteRequest& request) {
    squirrel::Object first = call.arg(1);
    squirrel::Object second = call.arg(2);
    if (first.type() == squirrel::Type::String) {
        if (isTable(second)) {
            readCommonOptions(second, request);
            if (second.has("w")) {
                request.width = second.get("w").toFloat();
                request.height = numberOption(second, "h", 1);
            }
            squirrel::Object name = second.get("name");
            if (name.type() == squirrel::Type::String) {
                request.name = name.toString();
            }
        }
        return readParent(first, request);
    }
    if (isTable(first)) {
        readCommonOptions(first, request);
        float width = numberOption(first, "w", 1);
        float height = numberOption(first, "h", 1);
        if (width > kSmallestSizeOption || height > kSmallestSizeOption) {
            request.width = width;
            request.height = height;
        }
    }
    return readParent(second, request);
}

// The screen point's place in the plane of the parent, relative to the parent's absolute
// position.
void placeAtScreenPoint(SpriteRequest& request, const irr::core::position2di& screenPoint) {
    irr::core::vector3df parentPosition =
        request.parent != nullptr ? request.parent->getAbsolutePosition() : irr::core::vector3df();
    PlanePoint point;
    if (screenPointInPlane(parentPosition, screenPoint, point)) {
        request.position.X = point.fromNode.X;
        request.position.Y = point.fromNode.Y;
    }
}

} // namespace

squirrel::Object core_FadeSprite(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    float from = -1.0f;
    float to = 0.0f;
    int time = 0;
    bool remove = true;
    if (call.argCount() > 1) {
        from = call.floatArg(1);
        to = call.floatArg(2);
        time = call.intArg(3);
        remove = call.boolArg(4);
    }
    if (node == nullptr) {
        return squirrel::Object(false);
    }
    if (time == 0 && remove) {
        deleteNode(node);
        return squirrel::Object(true);
    }
    attachAnimator(node, new CFadeValueAnimator(time, from, to));
    if (remove) {
        attachAnimator(node, new CSelfDestructAnimator(time, 0));
    }
    return squirrel::Object(true);
}

squirrel::Object core_ShowSprite(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    if (node == nullptr) {
        throw std::runtime_error(
            format("core_ShowSprite: no node named '%s'", textArgument(call, 0).c_str()));
    }
    node->setHideCount(call.boolArg(1) ? 0 : 1);
    return squirrel::Object();
}

squirrel::Object core_GetNode(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    return node != nullptr ? makeNodeTable(call.vm(), node) : squirrel::Object();
}

squirrel::Object core_GetNodeAtlas(squirrel::CallContext& call) {
    auto* sprite = dynamic_cast<CSpriteNode*>(nodeArgument(call, 0));
    if (sprite == nullptr) {
        return squirrel::Object(false);
    }
    squirrel::Object table = call.vm().newTable();
    table.set("_x", squirrel::Object(sprite->getAtlasX()));
    table.set("_y", squirrel::Object(sprite->getAtlasY()));
    table.set("_sizex", squirrel::Object(sprite->getAtlasW()));
    table.set("_sizey", squirrel::Object(sprite->getAtlasH()));
    return table;
}

squirrel::Object core_SetNodeAtlas(squirrel::CallContext& call) {
    auto* sprite = dynamic_cast<CSpriteNode*>(nodeArgument(call, 0));
    squirrel::Object cell = call.arg(1);
    if (sprite == nullptr || !isTable(cell)) {
        return squirrel::Object(false);
    }
    float columns = cell.get("_sizex").toFloat();
    float rows = cell.get("_sizey").toFloat();
    // The cell's texture coordinates divide by the grid size.
    if (columns <= 0 || rows <= 0) {
        return squirrel::Object(false);
    }
    sprite->setAtlas(cell.get("_x").toFloat(), cell.get("_y").toFloat(), columns, rows, 0);
    return squirrel::Object(true);
}

squirrel::Object core_GetNodeAttribute(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    const OptionSet* properties = node != nullptr ? node->getProperties() : nullptr;
    if (properties == nullptr) {
        return squirrel::Object();
    }
    std::string text;
    int32_t number = 0;
    float real = 0;
    switch (properties->findOption(textArgument(call, 1), text, number, real)) {
    case kStringProperty:
        return call.vm().string(text);
    case kIntProperty:
        return squirrel::Object(static_cast<int>(number));
    case kFloatProperty:
        return squirrel::Object(real);
    default:
        return squirrel::Object();
    }
}

squirrel::Object core_GetNodeSubnode(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    if (node == nullptr) {
        return squirrel::Object();
    }
    int localId = call.intArg(1);
    // The ID table's range is not searched below a node: such an ID is a mistake in the script.
    if (localId < kLowestSubtreeId) {
        throw std::runtime_error(
            format("core_GetNodeSubnode: %i is not a local ID (they start at %i)", localId,
                   static_cast<int>(kLowestSubtreeId)));
    }
    CNodeBasement* found = getNodeById(localId, node);
    return found != nullptr ? makeNodeTable(call.vm(), found) : squirrel::Object();
}

squirrel::Object core_SetNode(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    squirrel::Object table = call.arg(1);
    if (node == nullptr || !isTable(table)) {
        return squirrel::Object(false);
    }
    applyNodeTable(node, table, NodeTableGroups());
    return squirrel::Object(true);
}

squirrel::Object core_SetNodeAttribute(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    if (node == nullptr) {
        return squirrel::Object(false);
    }
    std::string key = textArgument(call, 1);
    squirrel::Object value = call.arg(2);
    switch (value.type()) {
    case squirrel::Type::String:
        node->setStringProperty(key, value.toString());
        return squirrel::Object(true);
    case squirrel::Type::Integer:
        node->setIntProperty(key, value.toInt());
        return squirrel::Object(true);
    default:
        return squirrel::Object(false);
    }
}

squirrel::Object core_AttachToNode(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    CNodeBasement* parent = nodeArgument(call, 1);
    if (node == nullptr || parent == nullptr || isAncestorOrSelf(node, parent)) {
        return squirrel::Object(false);
    }
    ScopedLock guard(getEngine().getSceneLock());
    node->setParent(parent);
    node->updateAbsolutePosition();
    return squirrel::Object(true);
}

squirrel::Object core_ConvertXYCoords(squirrel::CallContext& call) {
    squirrel::Object table = call.arg(0);
    CNodeBasement* from = nodeArgument(call, 1);
    CNodeBasement* to = nodeArgument(call, 2);
    if (!isTable(table) || from == nullptr || to == nullptr) {
        return squirrel::Object(false);
    }
    irr::core::vector3df offset = to->getAbsolutePosition() - from->getAbsolutePosition();
    table.set("_x", squirrel::Object(offset.X));
    table.set("_y", squirrel::Object(offset.Y));
    return squirrel::Object(true);
}

squirrel::Object core_CreateSprite(squirrel::CallContext& call) {
    SpriteRequest request;
    if (!readSpriteRequest(call, request)) {
        return squirrel::Object();
    }
    if (request.underCursor) {
        CInputModule& input = getEngine().getInput();
        placeAtScreenPoint(request, irr::core::position2di(input.cursorX(), input.cursorY()));
    }
    if (request.underLastClick) {
        irr::core::vector2df click = getFocusChain().getLastClickPosition();
        placeAtScreenPoint(request, irr::core::position2di(static_cast<int>(std::lround(click.X)),
                                                           static_cast<int>(std::lround(click.Y))));
    }
    CNodeBasement* node = createSprite(textArgument(call, 0), request.width, request.height,
                                       request.position, request.parent, nullptr, kCreationTag);
    if (node == nullptr) {
        return squirrel::Object();
    }
    if (!request.name.empty()) {
        setNodeName(node, request.name);
    }
    return request.returnTable ? makeNodeTable(call.vm(), node) : squirrel::Object();
}

squirrel::Object core_EnableNode(squirrel::CallContext& call) {
    CNodeBasement* node = nodeArgument(call, 0);
    if (node == nullptr) {
        return squirrel::Object(false);
    }
    node->setVisible(call.boolArg(1));
    return squirrel::Object(true);
}
