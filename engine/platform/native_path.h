#pragma once

#include <string>

// The engine writes every path in its own form: backslash separators, and an absolute path as a
// drive path on drive "z:" that stands for the POSIX root ("z:\home\u\" is "/home/u/").
// These functions are the only place where engine paths and native paths meet.

// Turns an engine path into a native one. Each component that does not exist under its exact
// name is matched case-insensitively against the folder's listing, because the engine
// lower-cases paths that the disk may hold in mixed case. Components that match nothing are
// kept as written.
std::string toNativePath(const std::string& enginePath);

// Turns a native path into the engine form ("/a/b" becomes "z:\a\b").
std::string toEnginePath(const std::string& nativePath);

// Turns a native path that may be relative to the working folder into an absolute engine path,
// with "." and ".." components resolved by name and no trailing separator.
std::string absoluteEnginePath(const std::string& nativePath);
