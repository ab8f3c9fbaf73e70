#include "weak_ref.h"

#include <mutex>
#include <unordered_map>

namespace squirrel::detail {

namespace {

// Objects of every virtual machine share the table; machines may live on different threads.
std::mutex& tableMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unordered_map<const RefCounted*, WeakRef*>& table() {
    static std::unordered_map<const RefCounted*, WeakRef*> refs;
    return refs;
}

} // namespace

Value makeWeakRef(const Value& v) {
    if (!isRefCounted(v.tag))
        return v;
    RefCounted* object = v.ref;
    std::lock_guard<std::mutex> lock(tableMutex());
    if (object->flags & kHasWeakRef)
        return Value(table().at(object));
    WeakRef* ref = new WeakRef;
    ref->target.tag = v.tag;
    ref->target.raw = v.raw;
    table().emplace(object, ref);
    object->flags |= kHasWeakRef;
    return Value(ref);
}

void clearWeakRef(RefCounted* object) {
    std::lock_guard<std::mutex> lock(tableMutex());
    auto it = table().find(object);
    if (it == table().end())
        return;
    it->second->target.tag = Tag::Null;
    it->second->target.raw = 0;
    table().erase(it);
}

void freeWeakRef(WeakRef* ref) {
    if (!ref->target.isNull()) {
        std::lock_guard<std::mutex> lock(tableMutex());
        table().erase(ref->target.ref);
        ref->target.ref->flags &= static_cast<std::uint8_t>(~kHasWeakRef);
    }
    delete ref;
}

} // namespace squirrel::detail
