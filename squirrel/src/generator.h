// Generators: a call of a function that yields makes one; `resume` runs it up to the next
// yield. While it is suspended its frame lives here.
#pragma once

#include "function.h"

#include <vector>

namespace squirrel::detail {

struct Generator : GCObject {
    enum class Status { Suspended, Running, Dead };
    struct SavedTrap {
        const Instr* handler;
        std::int32_t slot; // relative to the frame
    };

    Generator(GCObject*& listHead, const Value& closure)
        : GCObject(Tag::Generator, listHead), closure(closure) {}

    Value closure;
    std::vector<Value> slots; // the frame's registers while suspended; `this` held weakly
    const Instr* ip = nullptr;
    std::vector<SavedTrap> traps;
    Status status = Status::Suspended;
};

} // namespace squirrel::detail
