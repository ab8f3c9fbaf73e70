#pragma once

#include "squirrel/squirrel.h"

#include <string>

// Script values as text: an XML-like markup in which every element carries a running element
// number. The outermost value is number 0; a scalar takes one number, a table or array takes one
// and then numbers its slots (key, then value) depth first. Only integers, floats, bools, strings,
// tables and arrays are written; any other value is reported and written as its type element only.

// Tables and arrays nested deeper than this are reported and written or read as empty ones, so
// neither a deep value nor hostile text can exhaust the stack.
constexpr int kMaxSerializedNesting = 64;

// Appends the text of `value` to `text`, numbering its elements from `counter` on.
void serializeValue(const squirrel::Object& value, std::string& text, int& counter);
// Reads the value numbered `counter` from `text` into `value`, advancing the counter. Returns 0
// (and leaves both alone) when the text holds no type element with that number, otherwise 1.
int deserializeValue(squirrel::VM& vm, const std::string& text, squirrel::Object& value,
                     int& counter);
