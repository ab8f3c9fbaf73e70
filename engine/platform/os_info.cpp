#include "os_info.h"

#include "native_path.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>

OsVersion readOsVersion() {
    utsname info;
    if (uname(&info) != 0) {
        return {"Linux", 0};
    }
    return {info.sysname, std::atoi(info.release)};
}

namespace {

// The XDG base folder the variable names, else the folder below the home folder; in engine form
// with a trailing separator, "" when there is no home folder.
std::string userBaseFolder(const char* variable, const char* belowHome) {
    std::string folder;
    if (const char* xdg = std::getenv(variable); xdg && xdg[0] == '/') {
        folder = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !home[0]) {
            const passwd* user = getpwuid(getuid());
            home = user ? user->pw_dir : nullptr;
        }
        if (!home || !home[0]) {
            return std::string();
        }
        folder = std::string(home) + "/" + belowHome;
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    return toEnginePath(folder);
}

} // namespace

std::string userDataFolder() {
    return userBaseFolder("XDG_DATA_HOME", ".local/share");
}

std::string userStateFolder() {
    return userBaseFolder("XDG_STATE_HOME", ".local/state");
}
