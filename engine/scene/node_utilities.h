#pragma once

#include <irrlicht/irrlicht.h>

#include <string>

class CNodeBasement;

// Node IDs: 0..7999 are global IDs held in the ID table (1003..2000 of them handed out to names);
// 8001 means "no node"; 8000 and 8002 are invalid in the table; 8003 and above and negative IDs
// are not in the table. A search below a root node takes every ID from 8002 on; descriptions
// keep their local IDs from 10000 up so they never meet the table's range.
enum NodeIdRange {
    kGlobalIdCount = 8000,
    kFirstNameId = 1003,
    kLastNameId = 2000,
    kNoNodeId = 8001,
    kLowestSubtreeId = 8002,
    kFirstLocalId = 10000,
};

// ID table operations of getIdCache.
enum IdCacheOp {
    kIdCacheClear = -1,
    kIdCacheRead = 0,
    kIdCacheWrite = 1,
};

// The ID table: read, write `node`, or clear the entry when it is `node`. Returns the node now
// held for the ID; null for IDs outside the table. 8000 and 8002 are the fatal error "Node ID is
// out of range!".
CNodeBasement* getIdCache(int id, int op, CNodeBasement* node);
// Without a root, the ID table's node; with a root, the first node of that ID found in the root's
// subtree (local IDs only: an ID below 8002 is a fatal error).
CNodeBasement* getNodeById(int id, irr::scene::ISceneNode* root = nullptr);

// The name's ID, allocated on first use from 1003..2000 (wrapping once per allocation and skipping
// IDs of live nodes; "NotEnough name IDs!" when every one is taken).
int nameToId(const std::string& name);
// Enters a name with a fixed ID (the engine's camera and root node); a name that already has
// an ID keeps it.
void defineNameId(const std::string& name, int id);
// The name's ID, or 0 when the name has none.
int findNameId(const std::string& name);
// The name holding the ID, or "???".
std::string idToName(int id);
CNodeBasement* getNodeByName(const std::string& name);
// Gives the node the ID of the name; "main_level_interface" is registered as "???".
void setNodeName(CNodeBasement* node, const std::string& name);

// Makes sure the node and all its engine ancestors own their IDs in the ID table (nodes without
// one get an automatic "AutoID%i" name); returns the node's ID.
int ForceNodeToHaveID(CNodeBasement* node);
// An automatic ID that no node holds: the ID of an earlier "AutoID%i" name, tried in turn, or of a
// new one when every earlier one is held. As many nodes as there are free name IDs can hold one;
// beyond that the fatal error "NotEnough name IDs!" (or "ForceNodeToHaveID failed - no free IDs!!!"
// once every name ID belongs to an automatic name).
int takeAutomaticId();
// One line "%i:%s" per name with the parent of the node holding the ID.
std::string listNameIds();

// Called with every ID whose table entry is cleared, so the input module can forget it.
using NodeIdReleaseListener = void (*)(int id);
void setNodeIdReleaseListener(NodeIdReleaseListener listener);

// Queues the node (and the animator that asks for it) for deletion after the frame; the node
// stays valid until then.
void deleteNode(irr::scene::ISceneNode* node, irr::scene::ISceneNodeAnimator* animator = nullptr);
// True when the node and every ancestor are visible.
bool isTrulyVisible(irr::scene::ISceneNode* node);
