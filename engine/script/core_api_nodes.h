#pragma once

#include "squirrel/squirrel.h"

// The core functions scripts use on nodes. Every node argument is a node reference
// (resolveNodeReference, node_table.h); a reference without a node makes a function return false,
// or null where it returns a table, unless said otherwise.

// (node, from, to, time ms, delete flag) -> bool. From -1 (the current factor), to 0, time 0 and
// delete 1 unless more than the node is given. Time 0 with delete deletes the node now (through
// the deferred queue); otherwise the subtree's AlphaFactor fades from..to over the time, and
// with delete the node goes when the fade ends. Also registered as core_DeleteSprite.
squirrel::Object core_FadeSprite(squirrel::CallContext& call);
// (node name, show flag) -> none. Shows the node (HideCount 0) or hides it (1); a name without a
// node is a script error.
squirrel::Object core_ShowSprite(squirrel::CallContext& call);
// (node) -> the node's full node table, or null.
squirrel::Object core_GetNode(squirrel::CallContext& call);
// (node) -> the sprite's atlas cell {"_x", "_y", "_sizex", "_sizey"}, or false (also for a node
// that is not a sprite).
squirrel::Object core_GetNodeAtlas(squirrel::CallContext& call);
// (node, {"_x", "_y", "_sizex", "_sizey"}) -> bool. Shows that cell of the sprite; a grid without
// columns or rows is refused (false).
squirrel::Object core_SetNodeAtlas(squirrel::CallContext& call);
// (node, key) -> the named property as string, integer or float by its stored type; null when the
// node has no properties or none of that name.
squirrel::Object core_GetNodeAttribute(squirrel::CallContext& call);
// (node, local ID) -> the node table of the node with that local ID below the node, or null. A
// local ID below the local range is a script error.
squirrel::Object core_GetNodeSubnode(squirrel::CallContext& call);
// (node, node table) -> bool. Applies the position, size, rotation, alpha, fade and tint slots.
squirrel::Object core_SetNode(squirrel::CallContext& call);
// (node, key, string or integer) -> bool; false for a value of any other type.
squirrel::Object core_SetNodeAttribute(squirrel::CallContext& call);
// (node, new parent) -> bool. Moves the node under the new parent, keeping its relative
// position, and recomputes its absolute position. A node cannot go below itself or its own
// subtree (false).
squirrel::Object core_AttachToNode(squirrel::CallContext& call);
// (table, node A, node B) -> bool. Sets the table's "_x" and "_y" to B's absolute position minus
// A's.
squirrel::Object core_ConvertXYCoords(squirrel::CallContext& call);
// (file, parent name, options) or (file, options, parent) -> the new node's node table when the
// options ask for it ("retSprite"), else null. Options: "x", "y", "z" (position), "w", "h" (size
// factors; a missing one stays 1), "underCursor" (the position goes under the cursor, in the
// parent's plane), "underLastClick" (likewise under the last left press or right click),
// "retSprite" and, in the first form only, "name". A parent that is given but
// has no node creates nothing (null); no parent (null or "") means the scene's root.
squirrel::Object core_CreateSprite(squirrel::CallContext& call);
// (node, flag) -> bool. Makes the node visible or invisible.
squirrel::Object core_EnableNode(squirrel::CallContext& call);
