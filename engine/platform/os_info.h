#pragma once

#include <string>

// The kernel's name and major version.
struct OsVersion {
    std::string name;
    int majorVersion;
};
OsVersion readOsVersion();

// The per-user data folder in engine form: $XDG_DATA_HOME, else ~/.local/share, ending with
// a backslash; empty when neither can be found.
std::string userDataFolder();
// The per-user state folder (logs and the like) the same way: $XDG_STATE_HOME, else
// ~/.local/state.
std::string userStateFolder();
