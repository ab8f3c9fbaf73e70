#pragma once

#include "squirrel/squirrel.h"

// Script timers: action animators on the engine's root node that run a piece of script code
// every so many ms (interval) or once after that time (timeout). Scripts hold them by handle,
// the animator's Id + 1, so a handle is never 0.

// (time ms, code, optional context value) -> handle, or null without a root node.
squirrel::Object core_SetInterval(squirrel::CallContext& call);
squirrel::Object core_SetTimeout(squirrel::CallContext& call);
// (handle) -> whether a live timer had that handle; that timer is removed. Also registered as
// core_CancelTimeout.
squirrel::Object core_CancelInterval(squirrel::CallContext& call);
// (handle, base timer key) -> whether a live timer had that handle; that timer then runs on the
// base timer's time.
squirrel::Object core_SetIntervalTimer(squirrel::CallContext& call);
