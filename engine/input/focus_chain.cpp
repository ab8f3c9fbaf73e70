#include "focus_chain.h"

#include "animators/abaseanimators.h"
#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "scene/pixel_copies.h"
#include "scene/screen_mapping.h"
#include "utils/debug.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <cmath>

namespace {

// The engine's root node, which every dialog and screen hangs below.
const int kRootNodeId = 1001;
const float kNoHitDistance = 1e10f;
// Parent IDs above this are outside the global ID table.
const int kHighestParentId = 8000;

// A folder in the game folder that turns on the check that parent IDs lead back to the parents
// (on developer machines), and the file the check writes what it found to.
const char* const kCheckFolder = "modality_check\\";
const char* const kCheckDumpFile = "modality_dump.txt";

// The check's folder when it exists; looked for once per program folder.
std::string parentCheckFolder() {
    static std::string checkedProgram;
    static std::string folder;
    std::string program = gameFolder();
    if (program != checkedProgram) {
        checkedProgram = program;
        std::string candidate = program + kCheckFolder;
        folder = fileExists(candidate) ? candidate : std::string();
    }
    return folder;
}

// Whether the ID table holds the node under its ID.
bool ownsItsId(CNodeBasement* node) {
    int id = node->getID();
    return id >= 0 && id < kGlobalIdCount && getNodeById(id) == node;
}

} // namespace

CFocusChain::CFocusChain() {
    setNodeIdReleaseListener([](int id) { getFocusChain().forgetId(id); });
}

CFocusChain& getFocusChain() {
    static auto* chain = new CFocusChain();
    return *chain;
}

std::string CFocusChain::modalityLine(const ModalityEntry& entry) {
    return format("+%i:%s\n", entry.Id, entry.Name.c_str());
}

int CFocusChain::pickNode(const irr::core::position2di& screenPoint) {
    ScopedLock sceneGuard(getEngine().getSceneLock());
    ScopedLock guard(Lock);
    irr::scene::ISceneManager* scene = getEngine().getSceneManager();
    irr::scene::ICameraSceneNode* camera = scene ? scene->getActiveCamera() : nullptr;
    if (camera == nullptr) {
        return 0;
    }
    irr::core::line3df ray = rayThroughPicturePoint(camera, screenPoint);
    if (ray.start == ray.end) {
        return 0;
    }
    CNodeBasement* best = nullptr;
    float bestDistance = kNoHitDistance;
    for (const Clickable& entry : Clickables) {
        CNodeBasement* node = entry.Node;
        if (!ownsItsId(node) || !isTrulyVisible(node)) {
            continue;
        }
        irr::core::aabbox3d<irr::f32> box = node->getTransformedDepthBox();
        if (!box.intersectsWithLine(ray)) {
            continue;
        }
        float distance = box.getCenter().Z;
        if (distance < bestDistance) {
            if (entry.PixelPerfect && !hitsOpaquePixel(node, ray)) {
                continue;
            }
            best = node;
            bestDistance = distance;
        }
    }
    return best != nullptr ? best->getID() : 0;
}

bool CFocusChain::hitsOpaquePixel(CNodeBasement* node, const irr::core::line3df& ray) {
    auto* sprite = dynamic_cast<CSpriteNode*>(node);
    // Without pixels to look at (no texture, not 32-bit) the sprite counts as opaque.
    if (sprite == nullptr || getPixelCopy(sprite->getPixelTexture()) == nullptr) {
        return true;
    }
    irr::core::matrix4 toNode;
    if (!node->getAbsoluteTransformation().getInverse(toNode)) {
        return true;
    }
    irr::core::vector3df start = ray.start;
    irr::core::vector3df end = ray.end;
    toNode.transformVect(start);
    toNode.transformVect(end);
    float across = end.Z - start.Z;
    if (std::fabs(across) < 1e-6f) {
        return true;
    }
    irr::core::vector3df at = start + (end - start) * (-start.Z / across);
    const irr::core::aabbox3d<irr::f32>& box = node->getBoundingBox();
    float width = box.MaxEdge.X - box.MinEdge.X;
    float height = box.MaxEdge.Y - box.MinEdge.Y;
    if (width <= 0 || height <= 0) {
        return true;
    }
    irr::core::vector2df point((at.X - box.MinEdge.X) / width, (at.Y - box.MinEdge.Y) / height);
    return !isTransparentAround(*sprite, point, 0, 0);
}

void CFocusChain::addModality(int id, int level) {
    ScopedLock guard(Lock);
    ModalityEntry entry{id, idToName(id), level};
    if (level == kExclusiveLevel) {
        ModalityList.push_back(entry);
        return;
    }
    int below = 0;
    for (auto it = ModalityList.rbegin(); it != ModalityList.rend(); ++it) {
        if (it->Level != kExclusiveLevel) {
            below = it->Level;
            break;
        }
    }
    entry.Level = below + 1;
    std::string line = modalityLine(entry);
    logDebug("Adding dlg modality:" + trimRight(line));
    ModalityLog += line;
    ModalityList.push_back(entry);
}

void CFocusChain::removeModality(int id) {
    ScopedLock guard(Lock);
    auto found = std::find_if(ModalityList.begin(), ModalityList.end(),
                              [id](const ModalityEntry& entry) { return entry.Id == id; });
    if (found == ModalityList.end()) {
        return;
    }
    if (found->Level != kExclusiveLevel) {
        std::string line = modalityLine(*found);
        logDebug("Removing dlg modality:" + trimRight(line));
        size_t at = ModalityLog.find(line);
        if (at != std::string::npos) {
            ModalityLog.erase(at, line.size());
        }
    }
    ModalityList.erase(found);
}

int CFocusChain::getModalityLevel(int id, bool skipExclusive) {
    ScopedLock sceneGuard(getEngine().getSceneLock());
    ScopedLock guard(Lock);
    if (ModalityList.empty() || id == kRootNodeId || id < 1) {
        return 0;
    }
    CNodeBasement* node = getNodeById(id);
    if (node == nullptr) {
        reportError("Broken modality in user focus chain!!!", false);
        return 0;
    }
    for (auto it = ModalityList.rbegin(); it != ModalityList.rend(); ++it) {
        if (skipExclusive && it->Level == kExclusiveLevel) {
            continue;
        }
        if (it->Id == id) {
            return it->Level;
        }
    }
    irr::scene::ISceneNode* parent = node->getParent();
    if (parent == nullptr) {
        return 0;
    }
    checkParentId(node, parent);
    return getModalityLevel(parent->getID(), skipExclusive);
}

void CFocusChain::checkParentId(CNodeBasement* node, irr::scene::ISceneNode* parent) {
    // Only the engine's own nodes are in the ID table; the scene's root is not.
    if (asEngineNode(parent) == nullptr) {
        return;
    }
    std::string folder = parentCheckFolder();
    if (folder.empty()) {
        return;
    }
    int parentId = parent->getID();
    std::string message;
    if (parentId > kHighestParentId) {
        message = "Error: Zaputalis parenty3!";
    } else if (CNodeBasement* byId = getNodeById(parentId); byId == nullptr) {
        message = "Error: Zaputalis parenty2!";
    } else if (byId != parent) {
        message = format("Error: Zaputalis parenty! ID parenta != parentu node\nidname='%s'\n"
                         "Parent by ID name='%s' (idname='%s', ID=%i)\n"
                         "Parent by hier='%s' (idname='%s', ID=%i)",
                         idToName(node->getID()).c_str(), byId->getName(),
                         idToName(byId->getID()).c_str(), byId->getID(), parent->getName(),
                         idToName(parentId).c_str(), parentId);
    }
    if (message.empty()) {
        return;
    }
    writeTextFile(folder + kCheckDumpFile, listNameIds() + "\n" + message);
    showErrorBox(message, false);
}

bool CFocusChain::isInputAllowed(int id) {
    ScopedLock sceneGuard(getEngine().getSceneLock());
    ScopedLock guard(Lock);
    int top = getTopModality(false);
    return top == 0 || getModalityLevel(id, false) == top;
}

int CFocusChain::getTopModality(bool skipExclusive) {
    ScopedLock guard(Lock);
    for (auto it = ModalityList.rbegin(); it != ModalityList.rend(); ++it) {
        if (!skipExclusive || it->Level != kExclusiveLevel) {
            return it->Level;
        }
    }
    return 0;
}

std::string CFocusChain::getModalityLog() {
    ScopedLock guard(Lock);
    return ModalityLog;
}

void CFocusChain::registerClickable(CNodeBasement* node, bool pixelPerfect) {
    ScopedLock sceneGuard(getEngine().getSceneLock());
    ScopedLock guard(Lock);
    int id = node->getID();
    Clickables.push_back(Clickable{node, idToName(id), getModalityLevel(id, true), pixelPerfect});
}

void CFocusChain::unregisterClickable(CNodeBasement* node) {
    ScopedLock guard(Lock);
    auto found = std::find_if(Clickables.begin(), Clickables.end(),
                              [node](const Clickable& entry) { return entry.Node == node; });
    if (found != Clickables.end()) {
        Clickables.erase(found);
    }
}

size_t CFocusChain::clickableCount() {
    ScopedLock guard(Lock);
    return Clickables.size();
}

std::vector<CBaseAnimator*>& CFocusChain::handlers(InputHandlers list) {
    return list == InputHandlers::Click ? ClickHandlers : HoverHandlers;
}

void CFocusChain::addHandler(InputHandlers list, CBaseAnimator* handler) {
    ScopedLock guard(Lock);
    handlers(list).push_back(handler);
}

void CFocusChain::removeHandler(InputHandlers list, CBaseAnimator* handler) {
    ScopedLock guard(Lock);
    std::vector<CBaseAnimator*>& entries = handlers(list);
    auto found = std::find(entries.begin(), entries.end(), handler);
    if (found != entries.end()) {
        entries.erase(found);
    }
}

std::vector<CBaseAnimator*> CFocusChain::takeHandlers(InputHandlers list) {
    ScopedLock guard(Lock);
    std::vector<CBaseAnimator*> copy = handlers(list);
    for (CBaseAnimator* handler : copy) {
        handler->grab();
    }
    return copy;
}

void CFocusChain::forgetId(int id) {
    for (std::atomic<int>* slot : {&UnderCursorId, &PressedId, &ReleasedId, &RightClickId}) {
        int expected = id;
        slot->compare_exchange_strong(expected, 0);
    }
}

irr::core::vector2df CFocusChain::getLastClickPosition() {
    ScopedLock guard(Lock);
    return LastClickPosition;
}

void CFocusChain::setLastClickPosition(const irr::core::vector2df& position) {
    ScopedLock guard(Lock);
    LastClickPosition = position;
}
