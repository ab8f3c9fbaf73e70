#pragma once

#include "squirrel/squirrel.h"

#include <string>

// Reading the arguments of core functions that take anything ("*"): a missing or null argument
// reads as empty text, a string as its text and any other value as the text tostring() gives.
std::string textArgument(const squirrel::CallContext& call, int index);
