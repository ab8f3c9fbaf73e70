#pragma once

#include "squirrel/squirrel.h"

#include <string>
#include <vector>

// The most items a script's choice list offers.
constexpr int kMaxChoiceItems = 100;

// The items of a script's choice list: the array's strings up to the first empty or non-string
// element, at most kMaxChoiceItems; none when the value is not an array.
std::vector<std::string> choiceItems(const squirrel::Object& list);

// core_AskChoice(array of strings, title): shows the strings as a popup menu at the cursor and
// returns the index chosen, or -1. The title is not shown (a popup menu has none).
squirrel::Object core_AskChoice(squirrel::CallContext& call);
// core_AskString(ignored, default text): asks the user for one line of text; returns it trimmed,
// empty when cancelled.
squirrel::Object core_AskString(squirrel::CallContext& call);
