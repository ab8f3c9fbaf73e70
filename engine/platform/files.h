#pragma once

#include <functional>
#include <string>
#include <vector>

// File-system operations on engine paths (see native_path.h).

struct FolderEntry {
    std::string name;
    bool isFolder;
};

bool pathExists(const std::string& path);
bool isFolder(const std::string& path);
// Size in bytes, or -1 when the file does not exist.
long long fileSize(const std::string& path);
// Creates one folder level; true when it exists afterwards.
bool createFolder(const std::string& path);
bool removeFile(const std::string& path);
bool copyFile(const std::string& from, const std::string& to);
// The entries of a folder, without "." and "..", in the order the system lists them.
std::vector<FolderEntry> listFolder(const std::string& path);
bool readWholeFile(const std::string& path, std::string& bytes);

// Writes the bytes to a temporary file beside the target and renames it over the target, so an
// interrupted write never leaves a truncated file. True when every byte reached the target.
bool writeFileReplacing(const std::string& path, const std::string& bytes);

// Tests replace the final rename to simulate a write that dies half-way; an empty hook
// restores the real rename. The hook gets native paths and returns whether it succeeded.
using RenameHook = std::function<bool(const std::string& from, const std::string& to)>;
void setRenameHook(RenameHook hook);
