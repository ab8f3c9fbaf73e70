#include "screen_mapping.h"

#include "core/vellumengine.h"
#include "node_base.h"

irr::core::vector3df screenToScene(float distance, const irr::core::position2di* screenPoint) {
    CVellumEngine& engine = getEngine();
    irr::core::position2di point =
        screenPoint != nullptr
            ? *screenPoint
            : irr::core::position2di(engine.getInput().cursorX(), engine.getInput().cursorY());
    irr::core::line3df ray =
        engine.getSceneManager()->getSceneCollisionManager()->getRayFromScreenCoordinates(point);
    irr::core::vector3df direction = (ray.end - ray.start).normalize();
    return direction * (distance / direction.Z);
}

irr::core::vector2df getCursorInNode(CNodeBasement* node) {
    irr::scene::ICameraSceneNode* camera = getEngine().getSceneManager()->getActiveCamera();
    irr::core::vector3df relative = node->getAbsolutePosition() - camera->getAbsolutePosition();
    irr::core::vector3df cursor = screenToScene(relative.Z);
    const irr::core::aabbox3d<irr::f32>& box = node->getBoundingBox();
    float width = box.MaxEdge.X - box.MinEdge.X;
    float height = box.MaxEdge.Y - box.MinEdge.Y;
    return irr::core::vector2df((cursor.X - (relative.X - width / 2)) / width,
                                (cursor.Y - (relative.Y - height / 2)) / height);
}
