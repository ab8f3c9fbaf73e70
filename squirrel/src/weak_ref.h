// Weak references: objects that point at another object without keeping it alive. An object
// has at most one weak reference, found through a table keyed by the object, so objects need no
// room for it; a flag in the object header says whether one exists.
#pragma once

#include "value.h"

namespace squirrel::detail {

struct WeakRef : RefCounted {
    WeakRef() : RefCounted(Tag::WeakRef) {}
    ~WeakRef() {
        target.tag = Tag::Null;
        target.raw = 0;
    }
    WeakRef(const WeakRef&) = delete;
    WeakRef& operator=(const WeakRef&) = delete;

    // The object, without a reference count of its own; null once the object is freed.
    Value target;
};

// The weak reference to v: the existing one or a new one. Values that are not objects (numbers,
// bools, null) are their own weak reference.
Value makeWeakRef(const Value& v);
// Called when an object with a weak reference is freed: the reference now points at null.
void clearWeakRef(RefCounted* object);
// Frees a weak reference whose count dropped to zero.
void freeWeakRef(WeakRef* ref);

// What a container slot reads as: the target of a weak reference, otherwise the value itself.
inline const Value& slotValue(const Value& v) {
    return v.tag == Tag::WeakRef ? reinterpret_cast<const WeakRef*>(v.ref)->target : v;
}

} // namespace squirrel::detail
