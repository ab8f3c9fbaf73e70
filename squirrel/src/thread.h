// Cooperative threads: each runs a function on a machine of its own, so that `suspend` can
// stop it with all its frames in place until `wakeup` continues it.
#pragma once

#include "object.h"

#include <memory>

namespace squirrel::detail {

class Machine;
class State;

struct Thread : GCObject {
    enum class Status { Idle, Running, Suspended };

    Thread(State& state, const Value& function);
    ~Thread();

    std::unique_ptr<Machine> machine;
    Value function;
    Status status = Status::Idle;
};

} // namespace squirrel::detail
