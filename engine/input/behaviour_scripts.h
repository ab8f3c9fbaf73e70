#pragma once

#include <string>

class CNodeBasement;

// Calls a behaviour's script (a function name, or code) with a table {"_id", "_parentid"} of the
// node and its parent; its errors name the origin file, the description or dialog file the
// script was written in ("" for none).
void callNodeScript(const std::string& script, CNodeBasement* node, const std::string& originFile);
// The same with "_isover" in the table: whether the cursor came over the node or left it.
void callHoverScript(const std::string& script, CNodeBasement* node, bool isOver,
                     const std::string& originFile);
