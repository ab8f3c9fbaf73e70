#pragma once

#include <string>
#include <vector>

class CNodeBasement;

// In debug mode every live engine node is kept on this list, so nodes that outlive the scene can
// be reported at shutdown.
void addDebugNode(CNodeBasement* node);
// Takes the node off the list when it is there.
void removeDebugNode(CNodeBasement* node);
// The names of the listed nodes in creation order.
std::vector<std::string> debugNodeNames();
