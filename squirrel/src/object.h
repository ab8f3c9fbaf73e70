// Base of the container objects (tables, arrays, closures, ...). Every container is linked into
// its state's list so that the cycle collector can find reference cycles among them.
#pragma once

#include "value.h"

#include <vector>

namespace squirrel::detail {

struct GCObject : RefCounted {
    GCObject* gcNext = nullptr;
    GCObject** gcPrevNext = nullptr; // the pointer that points at this object in the list
    std::int32_t gcRefs = 0;         // scratch counter of the collector

    GCObject(Tag tag, GCObject*& listHead) : RefCounted(tag) {
        gcNext = listHead;
        if (gcNext)
            gcNext->gcPrevNext = &gcNext;
        gcPrevNext = &listHead;
        listHead = this;
    }
    GCObject(const GCObject&) = delete;
    GCObject& operator=(const GCObject&) = delete;
    ~GCObject() {
        *gcPrevNext = gcNext;
        if (gcNext)
            gcNext->gcPrevNext = gcPrevNext;
    }
};

// Calls visit(value, context) for every value a container holds.
using ValueVisitor = void (*)(Value& value, void* context);
void traverseContainer(GCObject* object, ValueVisitor visit, void* context);
// Drops every reference a container holds (used to break unreachable cycles).
void clearContainer(GCObject* object);

// Finds every container that is reachable only through reference cycles. Objects referenced
// from anywhere outside the containers (stacks, native code, handles) count as reachable, so
// nothing in use is touched.
std::vector<Value> findUnreachable(GCObject* listHead);
// Frees the unreachable containers; returns how many there were.
int collectCycles(GCObject* listHead);

} // namespace squirrel::detail
