#pragma once

#include "squirrel/squirrel.h"

// The core functions scripts use for input: the any-input flag, the keyboard, the mouse and the
// click actions of nodes.

// () -> none. Forgets any pending input.
squirrel::Object core_ClearAnyInputOcured(squirrel::CallContext& call);
// () -> none. Marks an input now.
squirrel::Object core_SetAnyInputOcured(squirrel::CallContext& call);
// () -> bool. Whether an input is pending; it is taken then.
squirrel::Object core_AnyInputOcured(squirrel::CallContext& call);
// (tick count) -> bool. Whether an input is pending that came at or after that time (a
// core_GetTick value); it is taken then.
squirrel::Object core_IsAnyKeySince(squirrel::CallContext& call);
// (virtual-key code) -> bool. Whether the key is down now.
squirrel::Object core_KeyPressed(squirrel::CallContext& call);
// (node name, relative flag) -> {"_x", "_y"}, or null when the name has no node. The last left
// press or right click in the plane of the node (the engine's root node for an empty name):
// offsets from the camera, or from the node with the flag.
squirrel::Object core_GetLastClickPosition(squirrel::CallContext& call);
// (node, relative flag) -> {"_x", "_y"}, or null when the reference has no node. The same for
// the cursor; without a node, the engine's root node.
squirrel::Object core_GetCurrentCursorPosition(squirrel::CallContext& call);
// () -> bool. Whether the left mouse button is down.
squirrel::Object core_GetIsLeftButtonDown(squirrel::CallContext& call);
// (node, action) -> bool. Sets the node's click action, giving the node a click behaviour when
// it has none; a missing action is empty. False without a node.
squirrel::Object core_SetNodeAction(squirrel::CallContext& call);
