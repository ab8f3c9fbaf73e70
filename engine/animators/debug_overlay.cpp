#include "debug_overlay.h"

#include "core/game_client.h"
#include "core/vellumengine.h"
#include "input/focus_chain.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_text.h"
#include "scene/node_utilities.h"
#include "utils/debug.h"
#include "utils/utils_str.h"

#include <string>

namespace {

const int kOverlayTextId = 8001;
const int kOverlayRenderOrder = 17;
const size_t kGameTextCapacity = 1024;
const irr::core::vector3df kOverlayPosition(-19.5f, 14.0f, 0.0f);

// The overlay's text node, known by its creation serial. The engine never deletes it, but it
// holds no reference of its own (the scene's tear-down must free it): it counts as there only
// while a child of the root node has its serial, so a scene torn down and built again gets a new
// one, even when a new node took the old one's address.
int& overlaySerial() {
    static int serial = -1;
    return serial;
}

CTextNode* liveOverlayNode() {
    irr::scene::ISceneNode* root = getEngine().rootNode();
    if (overlaySerial() < 0 || root == nullptr) {
        return nullptr;
    }
    for (irr::scene::ISceneNode* child : root->getChildren()) {
        CNodeBasement* node = asEngineNode(child);
        if (node != nullptr && node->getSerial() == overlaySerial()) {
            return dynamic_cast<CTextNode*>(node);
        }
    }
    overlaySerial() = -1;
    return nullptr;
}

} // namespace

std::string debugOverlayText() {
    CVellumEngine& engine = getEngine();
    std::string gameText;
    if (IGameClient* client = engine.getClient()) {
        client->appendDebugText(gameText);
    }
    if (gameText.size() > kGameTextCapacity) {
        gameText.resize(kGameTextCapacity);
    }
    if (!gameText.empty()) {
        gameText += "\n";
    }
    CFocusChain& focus = getFocusChain();
    const int id = focus.underCursorId();
    irr::scene::ISceneNode* underCursor = id != 0 ? getNodeById(id) : nullptr;
    const std::string name = underCursor != nullptr ? underCursor->getName() : "null";
    return format("%sFPS=%i, UnderCursorID=%i (%s)\nSwitches=%i, trigs=%i", gameText.c_str(),
                  engine.getFps(), id, name.c_str(), engine.getSwitchCount(),
                  engine.getTrigCount()) +
           format("\nmodality=%i\n", focus.getTopModality(false));
}

void refreshDebugOverlay() {
    CTextNode* node = liveOverlayNode();
    if (debugOverlay == 0) {
        if (node != nullptr) {
            node->setVisible(false);
        }
        return;
    }
    if (node == nullptr) {
        irr::scene::ISceneNode* root = getEngine().rootNode();
        if (root == nullptr) {
            return;
        }
        node = dynamic_cast<CTextNode*>(createTextNode("", kOverlayPosition, root, kOverlayTextId));
        if (node == nullptr) {
            return;
        }
        node->setRenderOrder(kOverlayRenderOrder);
        overlaySerial() = node->getSerial();
    }
    node->setVisible(true);
    node->setText("<font-size:-2><font-face:alt><left>\n" + debugOverlayText());
}
