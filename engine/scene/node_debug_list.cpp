#include "node_debug_list.h"

#include "node_base.h"
#include "platform/locks.h"

#include <map>

namespace {

struct DebugNodeList {
    CriticalSectionLock lock;
    // Keyed by creation serial, which orders the nodes by creation.
    std::map<int, CNodeBasement*> nodes;
};

DebugNodeList& debugNodes() {
    static DebugNodeList* list = new DebugNodeList();
    return *list;
}

} // namespace

void addDebugNode(CNodeBasement* node) {
    DebugNodeList& list = debugNodes();
    ScopedLock guard(list.lock);
    list.nodes[node->getSerial()] = node;
}

void removeDebugNode(CNodeBasement* node) {
    DebugNodeList& list = debugNodes();
    ScopedLock guard(list.lock);
    auto found = list.nodes.find(node->getSerial());
    if (found != list.nodes.end() && found->second == node) {
        list.nodes.erase(found);
    }
}

std::vector<std::string> debugNodeNames() {
    DebugNodeList& list = debugNodes();
    ScopedLock guard(list.lock);
    std::vector<std::string> names;
    for (const auto& entry : list.nodes) {
        names.push_back(entry.second->getName());
    }
    return names;
}
