#pragma once

#include "squirrel/squirrel.h"

#include <string_view>

// A core function as scripts see it: its result (a default Object for none) from the call.
using CoreFunction = squirrel::Object (*)(squirrel::CallContext& call);

// Registers one native function in the root table with the engine's parameter mask: "s", "n",
// "sn", "ss" (one letter per argument, checked by the machine before the call), "" (no
// arguments allowed) or "*" (anything; the function reads what it finds).
void registerCoreFunction(squirrel::VM& vm, std::string_view name, std::string_view mask,
                          CoreFunction function);

// Registers every core function in their fixed order.
void registerCoreFunctions(squirrel::VM& vm);
