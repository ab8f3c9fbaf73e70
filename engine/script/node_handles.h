#pragma once

class CNodeBasement;

// Integer handles by which scripts (node tables' "_pointer", effect animators, game events) hold
// engine nodes. A script integer cannot carry an address, and an address coming back from a
// script must never be dereferenced, so a node is given a positive handle the first time it is
// handed out; the handle is never reused within the process and is released when the node dies.
// Lookups check the registry, so a stale or made-up handle finds no node.

// The node's handle, given on first use; 0 for no node.
int nodeHandle(CNodeBasement* node);
// The live node holding the handle; null for 0, a released handle or one never given.
CNodeBasement* nodeFromHandle(int handle);
