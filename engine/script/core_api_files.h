#pragma once

#include "squirrel/squirrel.h"

// Core script functions over data paths and files.

// (folder) -> array of strings or false: the files below the data folder (full paths, lower
// case); false when it holds none.
squirrel::Object core_GetFileListing(squirrel::CallContext& call);
// (path, drive, folder, name, extension) -> string: the chosen parts of the path.
squirrel::Object core_GetPathPart(squirrel::CallContext& call);
// (name) -> string: the file a data name stands for (through the path cache).
squirrel::Object core_GetDataPath(squirrel::CallContext& call);
// (name) -> string: the same, looked up afresh and remembered.
squirrel::Object core_AddDataPath(squirrel::CallContext& call);
// (file) -> string: the whole text file (read through the text cache, macros expanded); empty
// when it cannot be read.
squirrel::Object core_ReadTextFile(squirrel::CallContext& call);
// (file, text) -> bool: replaces the file with the text; false (and a log line) when it could
// not be written.
squirrel::Object core_SaveFile(squirrel::CallContext& call);
