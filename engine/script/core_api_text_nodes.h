#pragma once

#include "squirrel/squirrel.h"

// The core functions scripts use on text: the text of a node's text node, word wrapping and the
// on-screen warnings. A node's text node is the node itself when it is a text node, else its
// first text child, else (for a name) the text node named name + "_text".

// (node, text) -> bool: sets the text; false when there is no text node.
squirrel::Object core_SetNodeText(squirrel::CallContext& call);
// (node) -> string, or false when there is no text node.
squirrel::Object core_GetNodeText(squirrel::CallContext& call);
// (text, width) -> string: the text broken into lines no wider than the width (main font).
squirrel::Object core_JustifyText(squirrel::CallContext& call);
// (text, optional time in ms, default 3000) -> none: shows the text as an on-screen warning for
// that time. Nothing at all happens when the game.ini value "nowarnings" is "yes" (read once).
squirrel::Object core_Warning(squirrel::CallContext& call);
