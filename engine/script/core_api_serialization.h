#pragma once

#include "squirrel/squirrel.h"

// Core script functions that turn script values into text and back (see script_serialization.h).

// (value) -> string: the value's text, numbered from 0.
squirrel::Object core_SerializeObj(squirrel::CallContext& call);
// (text) -> value: the value numbered 0 in the text; a new empty table when the text holds none.
squirrel::Object core_DeserializeObj(squirrel::CallContext& call);
