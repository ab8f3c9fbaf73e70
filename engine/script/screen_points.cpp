#include "screen_points.h"

#include "core/vellumengine.h"
#include "scene/screen_mapping.h"

bool screenPointInPlane(const irr::core::vector3df& nodePosition,
                        const irr::core::position2di& screenPoint, PlanePoint& point) {
    irr::scene::ISceneManager* scene = getEngine().getSceneManager();
    irr::scene::ICameraSceneNode* camera = scene ? scene->getActiveCamera() : nullptr;
    if (camera == nullptr) {
        return false;
    }
    irr::core::vector3df relative = nodePosition - camera->getAbsolutePosition();
    point.fromCamera = screenToScene(relative.Z, &screenPoint);
    point.fromNode = point.fromCamera - relative;
    return true;
}
