#pragma once

#include "description_keys.h"

#include <string>
#include <vector>

// A value the engine would refuse or read differently from what was written.
struct ValueProblem {
    bool error = true;
    std::string message;
};

// Compares the value of a key (the rest of the key's line, as written) with how the engine reads
// values of the key's form: numbers, tagged numbers, colours. Values that still hold macros
// ("${...}") are filled in at run time and are not judged.
std::vector<ValueProblem> checkKeyValue(const DescriptionKey& key, const std::string& value);
