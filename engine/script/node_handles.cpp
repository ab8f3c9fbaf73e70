#include "node_handles.h"

#include "animators/abaseanimators.h"
#include "platform/locks.h"
#include "scene/node_base.h"
#include "utils/debug.h"

#include <limits>
#include <unordered_map>

namespace {

// Both directions of the handle table. Nodes die through the deferred deletion queue, so the
// table has a lock of its own; nothing else is locked while it is held. Never destroyed: nodes
// may outlive static destruction.
struct HandleRegistry {
    CriticalSectionLock lock;
    int lastHandle = 0;
    std::unordered_map<int, CNodeBasement*> nodes;
    std::unordered_map<CNodeBasement*, int> handles;
};

HandleRegistry& registry() {
    static auto* instance = new HandleRegistry();
    return *instance;
}

void releaseHandle(int handle) {
    HandleRegistry& table = registry();
    ScopedLock guard(table.lock);
    auto entry = table.nodes.find(handle);
    if (entry == table.nodes.end()) {
        return;
    }
    table.handles.erase(entry->second);
    table.nodes.erase(entry);
}

// Carries the node's handle for as long as the node holds it. Never stepped. A node tells its
// animators when it goes away (finish), and an animator taken off its node is destroyed, so the
// handle is released in both cases before the node's address can be reused.
class CNodeHandleHolder : public CBaseAnimator {
public:
    explicit CNodeHandleHolder(int handle) : Handle(handle) { setInterval(kDormantInterval); }
    ~CNodeHandleHolder() override { releaseHandle(Handle); }

    void finish() override {
        CBaseAnimator::finish();
        releaseHandle(Handle);
    }

private:
    int Handle;
};

} // namespace

int nodeHandle(CNodeBasement* node) {
    if (node == nullptr) {
        return 0;
    }
    HandleRegistry& table = registry();
    int handle;
    {
        ScopedLock guard(table.lock);
        auto known = table.handles.find(node);
        if (known != table.handles.end()) {
            return known->second;
        }
        if (table.lastHandle == std::numeric_limits<int>::max()) {
            reportError("No node handles left!", false);
            return 0;
        }
        handle = ++table.lastHandle;
        table.nodes[handle] = node;
        table.handles[node] = handle;
    }
    attachAnimatorDormant(node, new CNodeHandleHolder(handle));
    return handle;
}

CNodeBasement* nodeFromHandle(int handle) {
    HandleRegistry& table = registry();
    ScopedLock guard(table.lock);
    auto entry = table.nodes.find(handle);
    return entry != table.nodes.end() ? entry->second : nullptr;
}
