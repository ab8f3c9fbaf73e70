#pragma once

#include <string>

// How often the profiling report counts blocks measured under the tag (0 when none was): the
// sum of the counts of every key that begins with the tag and "|".
int profiledCount(const std::string& report, const std::string& tag);
