#pragma once

#include "squirrel/squirrel.h"

// Core script functions over the engine's random generator.

// (a, b) -> float: a random value between the smaller and the larger; 0..1 when both are 0.
squirrel::Object core_Rnd(squirrel::CallContext& call);
// (from, to) -> array: the integers from .. to - 1 in random order (empty when to <= from).
squirrel::Object core_CreateRndSequence(squirrel::CallContext& call);
