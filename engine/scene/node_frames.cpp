#include "node_frames.h"

#include "core/vellumengine.h"
#include "scene/node_base.h"
#include "scene/node_factory.h"
#include "scene/node_sprite.h"
#include "scene/node_utilities.h"
#include "utils/utils_fs.h"
#include "utils/utils_str.h"

namespace {

const float kPi = irr::core::PI;
const int kOrnamentDepth = 10;
const int kEdgeDepth = -1;
const int kBackgroundDepth = -10;
const float kCornerScale = 0.9f;
const float kOrnamentScale = kCornerScale * 2.5f;
const float kOrnamentLift = 0.01f;

std::string creationTag(int line) {
    return format("%s:%i", __FILE__, line);
}

// A piece of the frame that shows the whole of its image, above the edges and the background.
CSpriteNode* addOrnament(const std::string& source, float size,
                         const irr::core::vector3df& position, CNodeBasement* container) {
    CSpriteNode* piece = dynamic_cast<CSpriteNode*>(createSprite(
        resolveDataPath(source), size, size, position, container, nullptr, creationTag(__LINE__)));
    if (piece != nullptr) {
        piece->setLocalDepth(kOrnamentDepth);
        piece->setAtlas(0, 0, 1, 1, 0);
    }
    return piece;
}

void addCorner(const std::string& source, float size, const irr::core::vector3df& position,
               float rotation, CNodeBasement* container) {
    if (CSpriteNode* corner = addOrnament(source, size, position, container)) {
        corner->setFlatRotation(rotation);
    }
}

} // namespace

CSpriteNode* createSpriteBetween(const std::string& source, const irr::core::vector3df& p1,
                                 const irr::core::vector3df& p2, float thickness, float alpha,
                                 irr::scene::ISceneNode* parent, bool midpoint) {
    CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(
        createSprite(source, 0, 0, p1, parent, nullptr, creationTag(__LINE__)));
    if (sprite == nullptr) {
        return nullptr;
    }
    sprite->placeBetween(p1, p2, thickness, midpoint, false, true, 0);
    sprite->setAlpha(alpha);
    return sprite;
}

CNodeBasement* createFrame(const irr::core::vector3df& position, float width, float height,
                           const std::string& imageBase, const std::string& backgroundPath,
                           float border, irr::scene::ISceneNode* parent,
                           CNodeBasement** background) {
    CVellumEngine& engine = getEngine();
    ScopedLock guard(engine.getSceneLock());
    if (parent == nullptr) {
        parent = engine.getSceneManager()->getRootSceneNode();
    }
    CNodeBasement* container = createEmptyNode(parent, kNoNodeId, irr::core::vector3df(0, 0, 0));
    container->setName((std::string(container->getName()) + " [fld]").c_str());
    container->setPosition(position);

    float w = width / 2;
    float h = height / 2;
    float c = border;
    if (!imageBase.empty()) {
        std::string corner = imageBase + "_corner.spr";
        float inset = c / 4;
        float cornerSize = kCornerScale * c;
        addCorner(corner, cornerSize, {-w + inset, -h + inset, 0}, kPi / 2, container);
        addCorner(corner, cornerSize, {w - inset, -h + inset, 0}, kPi, container);
        addCorner(corner, cornerSize, {w - inset, h - inset, 0}, 3 * kPi / 2, container);
        addCorner(corner, cornerSize, {-w + inset, h - inset, 0}, 0, container);
        addOrnament(imageBase + "_top.spr", kOrnamentScale * c, {0, h + kOrnamentLift, 0},
                    container);

        // Counter-clockwise, so the outer side of the edge image faces out on every side.
        const irr::core::vector3df corners[] = {{-w, -h, 0}, {w, -h, 0}, {w, h, 0}, {-w, h, 0}};
        std::string edge = resolveDataPath(imageBase + "_edge.spr");
        CSpriteNode* edges[4] = {};
        for (int side = 0; side < 4; ++side) {
            edges[side] = createSpriteBetween(edge, corners[side], corners[(side + 1) % 4], c, 1.0f,
                                              container, true);
            if (edges[side] != nullptr) {
                edges[side]->setLocalDepth(kEdgeDepth);
            }
        }
        for (CSpriteNode* side : edges) {
            if (side != nullptr) {
                side->setTextureTiling(c, c, 0);
            }
        }
    }
    if (!backgroundPath.empty()) {
        CNodeBasement* filling = createSprite(backgroundPath, width, height, {0, 0, 0}, container,
                                              nullptr, creationTag(__LINE__));
        if (filling != nullptr) {
            filling->setLocalDepth(kBackgroundDepth);
            if (CSpriteNode* sprite = dynamic_cast<CSpriteNode*>(filling)) {
                sprite->setTextureTiling(c, c, 0);
            }
        }
        if (background != nullptr) {
            *background = filling;
        }
    }
    return container;
}

CNodeBasement* createCanvas(const irr::core::vector3df& position, float width, float height,
                            irr::scene::ISceneNode* parent) {
    return createFrame(position, width, height, "gui\\canvas", "gui\\canvas_bg.png", 0.3f, parent,
                       nullptr);
}
