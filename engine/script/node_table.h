#pragma once

#include "squirrel/squirrel.h"

class CNodeBasement;

// Which slot groups of a node table are read or applied.
struct NodeTableGroups {
    int position = 1; // "_x", "_y", "_z": relative position
    int size = 1;     // "_w", "_h"
    int rotation = 1; // "_rotation": a sprite's flat rotation in radians
    int alpha = 1;    // "_alpha": the node's own Alpha
    int fade = 1;     // "_fade": the AlphaFactor of the subtree
    int colour = 1;   // "_tintR", "_tintG", "_tintB": the tint, 0..255 each
    int identity = 0; // "_id", "_parentid", "_name": read only
};

// Every group, identity included: what scripts get for a node.
NodeTableGroups allNodeTableGroups();

// Writes the slots of the switched-on groups into the table, and always "_pointer", the node's
// handle (node_handles.h). Only sprites turn: other engine nodes read a rotation of 0.
void readNodeTable(squirrel::VM& vm, CNodeBasement* node, squirrel::Object& table,
                   const NodeTableGroups& groups);
// A new table with every group of the node.
squirrel::Object makeNodeTable(squirrel::VM& vm, CNodeBasement* node);
// Sets the node from the slots of the switched-on groups. A missing numeric slot reads as 0,
// integers and floats convert into each other; a size of 0 becomes 1e-05, the tint is opaque
// with each component clamped to 0..255, and a rotation is ignored by nodes that are not sprites.
void applyNodeTable(CNodeBasement* node, const squirrel::Object& table,
                    const NodeTableGroups& groups);

// The node a script value names: a string is a node name, an integer a global node ID, a table
// names the node whose global ID is its "_id" slot (when a node holds it) or else the node whose
// handle is its "_pointer" slot. Anything else, or a name, ID or handle without a live node,
// gives null.
CNodeBasement* resolveNodeReference(const squirrel::Object& reference);
