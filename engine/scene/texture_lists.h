#pragma once

#include <string>

// Packs the images of the "[List]" sections of a configuration file into atlas pages and puts
// their regions into the texture cache (replacing entries of the same names). The engine's
// preloading calls it for each ".cfg" file that holds no particle groups, with the file's data
// name as `sourceName` and its text; list entries are resolved relative to that file.
//
// A section lists one image path per line; lines with "*" or "?" are wildcard patterns whose
// matching files are listed; lines starting with "-" are keys ("-Name:", "-DynamicList:1") and
// those starting with "\", "/" or ";" are comments. Each page becomes a driver texture named
// `textureName` (first page only), else the section's "-Name:" value, else "FakeTex_%i" from a
// process-wide counter. When one "-Name:" list needs several pages, the pages after the first are
// named "%s_%i" with the page number (1, 2, ...), so every page keeps a texture of its own. Any
// texture of the chosen name is removed first (reloading a list replaces its pages).
//
// Nothing happens when the driver allows no atlas. A section without images makes no page and
// the next section is read. With `dynamicOnly` the loading ends at the first section without the
// line "-DynamicList:1".
void loadTextureLists(const std::string& sourceName, const std::string& text,
                      const std::string& textureName, bool dynamicOnly);
