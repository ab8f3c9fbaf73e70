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
// True when the folder exists and the program may create files in it.
bool isWritableFolder(const std::string& path);
// Size in bytes, or -1 when the file does not exist.
long long fileSize(const std::string& path);
// Creates one folder level; true when it exists afterwards.
bool createFolder(const std::string& path);
bool removeFile(const std::string& path);
bool copyFile(const std::string& from, const std::string& to);
// The entries of a folder, without "." and "..", in the order the system lists them.
std::vector<FolderEntry> listFolder(const std::string& path);
bool readWholeFile(const std::string& path, std::string& bytes);

// Writes the bytes to a temporary file beside the target, flushes it to the disk, renames it over
// the target and flushes the folder, so a process killed or a machine stopped at any moment leaves
// either the whole old file or the whole new one. True when every byte reached the target; on
// failure the target is untouched, no temporary file is left and `failure` (when given) says
// which step failed and why, e.g. "writing: No space left on device".
bool writeFileReplacing(const std::string& path, const std::string& bytes,
                        std::string* failure = nullptr);
// Whether a file name is one of writeFileReplacing's temporary files. They are hidden (their
// names start with "."), so listings and preloading pass over them.
bool isTemporaryFileName(const std::string& name);
// Removes the temporary files that a process killed while writing left in the folder; gives how
// many were removed.
int removeLeftoverTemporaries(const std::string& folder);

// Tests replace the final rename to simulate a write that dies half-way; an empty hook
// restores the real rename. The hook gets native paths and returns whether it succeeded.
using RenameHook = std::function<bool(const std::string& from, const std::string& to)>;
void setRenameHook(RenameHook hook);
