#pragma once

#include <irrlicht/irrlicht.h>

// Where a screen point lies in the plane of a node (the Z of the node's absolute position), as
// scripts are told: its offset from the active camera, and its offset from the node.
struct PlanePoint {
    irr::core::vector3df fromCamera;
    irr::core::vector3df fromNode;
};

// False without an active camera.
bool screenPointInPlane(const irr::core::vector3df& nodePosition,
                        const irr::core::position2di& screenPoint, PlanePoint& point);
