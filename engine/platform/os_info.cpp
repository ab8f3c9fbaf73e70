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

std::string userDataFolder() {
    std::string folder;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
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
        folder = std::string(home) + "/.local/share";
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    return toEnginePath(folder);
}
