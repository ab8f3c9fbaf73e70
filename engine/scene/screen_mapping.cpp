#include "screen_mapping.h"

#include "core/vellumengine.h"
#include "node_base.h"
#include "picture_area.h"

irr::core::line3df rayThroughPicturePoint(irr::scene::ICameraSceneNode* camera,
                                          const irr::core::position2di& point) {
    const irr::core::recti picture = currentPictureArea();
    if (picture.getWidth() <= 0 || picture.getHeight() <= 0) {
        return irr::core::line3df();
    }
    // The point's place between the frustum's far corners, as the scene library finds it over
    // the whole viewport, but over the picture alone.
    const irr::scene::SViewFrustum* frustum = camera->getViewFrustum();
    const irr::core::vector3df farLeftUp = frustum->getFarLeftUp();
    const irr::core::vector3df leftToRight = frustum->getFarRightUp() - farLeftUp;
    const irr::core::vector3df upToDown = frustum->getFarLeftDown() - farLeftUp;
    const float dx = static_cast<float>(point.X) / static_cast<float>(picture.getWidth());
    const float dy = static_cast<float>(point.Y) / static_cast<float>(picture.getHeight());
    irr::core::line3df ray;
    ray.start = camera->isOrthogonal()
                    ? frustum->cameraPosition + leftToRight * (dx - 0.5f) + upToDown * (dy - 0.5f)
                    : frustum->cameraPosition;
    ray.end = farLeftUp + leftToRight * dx + upToDown * dy;
    return ray;
}

irr::core::vector3df screenToScene(float distance, const irr::core::position2di* screenPoint) {
    CVellumEngine& engine = getEngine();
    irr::core::position2di point =
        screenPoint != nullptr
            ? *screenPoint
            : irr::core::position2di(engine.getInput().cursorX(), engine.getInput().cursorY());
    irr::scene::ICameraSceneNode* camera = engine.getSceneManager()->getActiveCamera();
    if (camera == nullptr) {
        return irr::core::vector3df();
    }
    irr::core::line3df ray = rayThroughPicturePoint(camera, point);
    if (ray.start == ray.end) {
        return irr::core::vector3df();
    }
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
