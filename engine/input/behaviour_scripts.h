#pragma once

#include <string>

class CNodeBasement;

// Calls a behaviour's script (a function name, or code) with a table {"_id", "_parentid"} of the
// node and its parent.
void callNodeScript(const std::string& script, CNodeBasement* node);
// The same with "_isover" in the table: whether the cursor came over the node or left it.
void callHoverScript(const std::string& script, CNodeBasement* node, bool isOver);
