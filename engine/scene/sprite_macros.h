#pragma once

#include <string>
#include <vector>

struct SpriteCreationParams;

// Expands the sprite macros of a description text in place. Each macro parameter has the form
// name=value with exactly one "=" (anything else is the fatal assertion "Wrong params in spr
// creation! %s"), and every "${name}" in the text becomes its value. A text without "$" is left
// as it is.
void expandSpriteMacros(std::string& text, const std::vector<std::string>* macroParams,
                        const SpriteCreationParams* creationParams);
