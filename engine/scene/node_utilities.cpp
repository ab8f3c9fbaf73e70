#include "node_utilities.h"

#include "core/vellumengine.h"
#include "node_animator.h"
#include "node_base.h"
#include "platform/locks.h"
#include "scene/rendering.h"
#include "utils/debug.h"
#include "utils/utils_str.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <vector>

namespace {

const size_t kNameIdCount = kLastNameId - kFirstNameId + 1;

struct IdTable {
    CriticalSectionLock lock;
    CNodeBasement* nodes[kGlobalIdCount] = {};
};

IdTable& idTable() {
    static IdTable* table = new IdTable();
    return *table;
}

struct NameTable {
    CriticalSectionLock lock;
    std::map<std::string, int> ids;
    // The name last given each ID.
    std::map<int, std::string> names;
    int counter = kFirstNameId - 1;
};

NameTable& nameTable() {
    static NameTable* table = new NameTable();
    return *table;
}

// The automatic names "AutoID%i". A new one is made only while every existing one's ID is held,
// so no two of them share an ID and there are never more of them than name IDs.
struct AutoIds {
    CriticalSectionLock lock;
    // The IDs of the automatic names, in the order the names were made.
    std::vector<int> ids;
    // Where the next search starts: after the ID handed out last, so released IDs are handed out
    // in turn rather than one of them again and again.
    size_t next = 0;
    // The number of the next automatic name.
    int number = 0;
};

AutoIds& autoIds() {
    static AutoIds* ids = new AutoIds();
    return *ids;
}

std::atomic<NodeIdReleaseListener> releaseListener{nullptr};

void reportFatalAssertion(const char* text, const char* file, int line) {
    logDebug(text, file, line);
    reportError(text, false);
}

// Whether the ID table holds the node under its own ID.
bool ownsItsId(CNodeBasement* node) {
    return getIdCache(node->getID(), kIdCacheRead, nullptr) == node;
}

// The first node with the ID in the subtree, the root included, searched depth-first.
irr::scene::ISceneNode* findInSubtree(irr::scene::ISceneNode* root, int id) {
    if (root->getID() == id) {
        return root;
    }
    for (irr::scene::ISceneNode* child : root->getChildren()) {
        if (irr::scene::ISceneNode* found = findInSubtree(child, id)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

CNodeBasement* getIdCache(int id, int op, CNodeBasement* node) {
    ProfileScope scope("SETID-getIdCache|" __FILE__, __LINE__);
    uint32_t index = static_cast<uint32_t>(id);
    if (index < kGlobalIdCount && op >= kIdCacheClear && op <= kIdCacheWrite) {
        bool released = false;
        CNodeBasement* held;
        {
            IdTable& table = idTable();
            ScopedLock guard(table.lock);
            if (op == kIdCacheWrite) {
                table.nodes[index] = node;
            } else if (op == kIdCacheClear && node != nullptr && table.nodes[index] == node) {
                table.nodes[index] = nullptr;
                released = true;
            }
            held = table.nodes[index];
        }
        if (op == kIdCacheClear && node == nullptr) {
            showErrorBox("Error! Destroyng sprite cache with 0!", false);
        }
        NodeIdReleaseListener listener = releaseListener.load();
        if (released && listener != nullptr) {
            listener(id);
        }
        return held;
    }
    if (index > static_cast<uint32_t>(kLowestSubtreeId) || index == kNoNodeId) {
        return nullptr;
    }
    reportError("Node ID is out of range!", false);
    return nullptr;
}

CNodeBasement* getNodeById(int id, irr::scene::ISceneNode* root) {
    ScopedLock guard(getEngine().getSceneLock());
    if (root == nullptr) {
        return getIdCache(id, kIdCacheRead, nullptr);
    }
    if (id < kLowestSubtreeId) {
        reportError("Wrong local ID!!! Must start from 10000 to avoid intersections", false);
        return nullptr;
    }
    return asEngineNode(findInSubtree(root, id));
}

int nameToId(const std::string& name) {
    NameTable& table = nameTable();
    ScopedLock guard(table.lock);
    auto found = table.ids.find(name);
    if (found != table.ids.end()) {
        return found->second;
    }
    bool wrapped = false;
    while (true) {
        ++table.counter;
        if (table.counter > kLastNameId) {
            if (wrapped) {
                reportError("NotEnough name IDs!", false);
                return 0;
            }
            wrapped = true;
            table.counter = kFirstNameId - 1;
            continue;
        }
        // The table is read directly rather than through getNodeById: taking the scene lock
        // while holding the name lock would invert the order of callers that hold the scene lock.
        if (getIdCache(table.counter, kIdCacheRead, nullptr) == nullptr) {
            break;
        }
    }
    table.ids[name] = table.counter;
    table.names[table.counter] = name;
    return table.counter;
}

void defineNameId(const std::string& name, int id) {
    NameTable& table = nameTable();
    ScopedLock guard(table.lock);
    if (table.ids.find(name) == table.ids.end()) {
        table.ids[name] = id;
        table.names[id] = name;
    }
}

int findNameId(const std::string& name) {
    NameTable& table = nameTable();
    ScopedLock guard(table.lock);
    auto found = table.ids.find(name);
    return found == table.ids.end() ? 0 : found->second;
}

std::string idToName(int id) {
    NameTable& table = nameTable();
    ScopedLock guard(table.lock);
    auto found = table.names.find(id);
    return found == table.names.end() ? std::string("???") : found->second;
}

CNodeBasement* getNodeByName(const std::string& name) {
    return getNodeById(nameToId(name));
}

void setNodeName(CNodeBasement* node, const std::string& name) {
    node->setID(nameToId(name == "main_level_interface" ? std::string("???") : name));
}

int takeAutomaticId() {
    AutoIds& autos = autoIds();
    ScopedLock guard(autos.lock);
    if (!autos.ids.empty()) {
        size_t start = autos.next % autos.ids.size();
        IdTable& table = idTable();
        ScopedLock tableGuard(table.lock);
        for (size_t tried = 0; tried < autos.ids.size(); ++tried) {
            size_t index = (start + tried) % autos.ids.size();
            if (table.nodes[autos.ids[index]] == nullptr) {
                autos.next = index + 1;
                return autos.ids[index];
            }
        }
    }
    // Every automatic name's ID is held: a new name takes a free name ID. Names that something
    // else already entered are left alone, as their IDs may be shared.
    while (autos.ids.size() < kNameIdCount) {
        std::string name = format("AutoID%i", autos.number++);
        if (findNameId(name) != 0) {
            continue;
        }
        int id = nameToId(name);
        autos.ids.push_back(id);
        autos.next = autos.ids.size();
        return id;
    }
    reportFatalAssertion("ForceNodeToHaveID failed - no free IDs!!!", __FILE__, __LINE__);
    return 0;
}

int ForceNodeToHaveID(CNodeBasement* node) {
    int id = node->getID();
    if (!ownsItsId(node)) {
        id = takeAutomaticId();
        node->setID(id);
    }
    CNodeBasement* parent = asEngineNode(node->getParent());
    if (parent != nullptr && !ownsItsId(parent)) {
        ForceNodeToHaveID(parent);
    }
    if (getIdCache(id, kIdCacheRead, nullptr) != node) {
        reportFatalAssertion("ForceNodeToHaveID failed!!!", __FILE__, __LINE__);
    }
    return id;
}

std::string listNameIds() {
    std::map<std::string, int> ids;
    {
        NameTable& table = nameTable();
        ScopedLock guard(table.lock);
        ids = table.ids;
    }
    std::vector<std::string> lines;
    for (const auto& entry : ids) {
        std::string line = format("%i:%s", entry.second, entry.first.c_str());
        if (CNodeBasement* holder = getIdCache(entry.second, kIdCacheRead, nullptr)) {
            irr::scene::ISceneNode* parent = holder->getParent();
            line += parent != nullptr ? format(", parrent:%i", parent->getID())
                                      : std::string(", unknown parrent");
        }
        lines.push_back(line);
    }
    return joinList(lines, '\n');
}

void setNodeIdReleaseListener(NodeIdReleaseListener listener) {
    releaseListener = listener;
}

void deleteNode(irr::scene::ISceneNode* node, irr::scene::ISceneNodeAnimator* animator) {
    if (node == nullptr) {
        return;
    }
    ScopedLock guard(getEngine().getSceneLock());
    if (INodeAnimator* engineAnimator = asNodeAnimator(animator)) {
        engineAnimator->finish();
        engineAnimator->setName(nullptr);
    }
    getEngine().getRenderer().queueDeletion(node, animator);
    if (animator == nullptr) {
        std::string name =
            std::string(node->getName()) +
            format(",DELALREADY(id=%i, p=%08llX)", node->getID(),
                   static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(node)));
        node->setName(name.c_str());
    }
}

bool isTrulyVisible(irr::scene::ISceneNode* node) {
    for (; node != nullptr; node = node->getParent()) {
        if (!node->isVisible()) {
            return false;
        }
    }
    return true;
}
