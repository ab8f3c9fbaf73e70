#pragma once

#include <string_view>
#include <vector>

// For each line of `after`, the line of `before` (both counted from 0, lines split at line
// feeds) it came from, when `after` is `before` with parts replaced (macros or includes
// expanded). Lines common to both (the longest run of them in order) map to each other; the
// lines of a replaced block map to the replaced lines in order, the surplus to the last of them,
// and lines only inserted map to the line before them. A text with very many changes maps its
// changed middle as one replaced block.
std::vector<int> alignLines(std::string_view before, std::string_view after);
