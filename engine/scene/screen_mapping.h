#pragma once

#include <irrlicht/irrlicht.h>

class CNodeBasement;

// The ray from the camera through a point of the picture (counted from the picture's upper left
// corner, over its current size); start and end are equal when there is no picture.
irr::core::line3df rayThroughPicturePoint(irr::scene::ICameraSceneNode* camera,
                                          const irr::core::position2di& point);
// The offset from the active camera to the scene point under a picture point (the cursor when
// none is given) at the given distance along Z.
irr::core::vector3df screenToScene(float distance,
                                   const irr::core::position2di* screenPoint = nullptr);
// Where the cursor lies on the node, as fractions of its box: (0, 0) at the lower left corner,
// (1, 1) at the upper right, outside 0..1 when the cursor is outside.
irr::core::vector2df getCursorInNode(CNodeBasement* node);
