#pragma once

#include <string>

// The data path that a file name written inside a description stands for:
// - a name with a drive ("z:\...") is kept as it is;
// - a name starting with a backslash is a data name, taken from the data folders;
// - any other name is relative to the folder of `sourceFolder` when given (the file that the
//   node factory resolves against), else to the folder of `baseFile` (the description itself).
// Data names come back lower-cased and relative to the data folders.
std::string resolveDescriptionPath(const std::string& value, const std::string& baseFile,
                                   const std::string* sourceFolder = nullptr);
