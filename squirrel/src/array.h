// Script arrays: a growable sequence of values.
#pragma once

#include "object.h"

#include <vector>

namespace squirrel::detail {

struct Array : GCObject {
    explicit Array(GCObject*& listHead) : GCObject(Tag::Array, listHead) {}
    std::vector<Value> items;
};

} // namespace squirrel::detail
