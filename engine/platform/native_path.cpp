#include "native_path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

std::mutex listingMutex;
std::unordered_map<std::string, std::vector<std::string>> folderListings;

bool nativeEntryExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> readFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) {
        return names;
    }
    while (dirent* entry = readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

const std::string* findIgnoringCase(const std::vector<std::string>& names,
                                    const std::string& component) {
    for (const std::string& name : names) {
        if (strcasecmp(name.c_str(), component.c_str()) == 0) {
            return &name;
        }
    }
    return nullptr;
}

// The real spelling of `component` inside `folder` (empty or ending with "/"), or an empty text
// when nothing matches. A cached listing that misses, or whose match has gone, is read again
// once, since the folder may have changed.
std::string matchComponent(const std::string& folder, const std::string& component) {
    std::lock_guard<std::mutex> guard(listingMutex);
    auto cached = folderListings.find(folder);
    if (cached != folderListings.end()) {
        const std::string* hit = findIgnoringCase(cached->second, component);
        if (hit && nativeEntryExists(folder + *hit)) {
            return *hit;
        }
    }
    std::vector<std::string> listing = readFolder(folder);
    // A folder that cannot be read is not remembered: every missing path would leave its own
    // entries behind.
    if (listing.empty()) {
        folderListings.erase(folder);
        return std::string();
    }
    const std::vector<std::string>& stored = folderListings[folder] = std::move(listing);
    const std::string* hit = findIgnoringCase(stored, component);
    return hit ? *hit : std::string();
}

std::string withSlashes(const std::string& path) {
    std::string result = path;
    for (char& c : result) {
        if (c == '\\') {
            c = '/';
        }
    }
    return result;
}

bool hasEngineDrive(const std::string& path) {
    return path.size() >= 2 && (path[0] == 'z' || path[0] == 'Z') && path[1] == ':';
}

} // namespace

std::string toNativePath(const std::string& enginePath) {
    std::string path = withSlashes(hasEngineDrive(enginePath) ? enginePath.substr(2) : enginePath);
    if (path.empty() || nativeEntryExists(path)) {
        return path;
    }

    std::string resolved;
    size_t start = 0;
    if (path[0] == '/') {
        resolved = "/";
        start = 1;
    }
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        std::string component = path.substr(start, end - start);
        bool last = end == path.size();
        if (!component.empty() && component != "." && component != "..") {
            std::string candidate = resolved + component;
            if (!nativeEntryExists(candidate)) {
                std::string match = matchComponent(resolved, component);
                if (!match.empty()) {
                    candidate = resolved + match;
                }
            }
            resolved = candidate;
        } else {
            resolved += component;
        }
        if (!last) {
            resolved += '/';
        }
        start = end + 1;
    }
    return resolved;
}

std::string toEnginePath(const std::string& nativePath) {
    std::string result = nativePath;
    for (char& c : result) {
        if (c == '/') {
            c = '\\';
        }
    }
    if (!nativePath.empty() && nativePath[0] == '/') {
        result = "z:" + result;
    }
    return result;
}

std::string absoluteEnginePath(const std::string& nativePath) {
    std::string path = nativePath;
    if (path.empty() || path[0] != '/') {
        char* working = getcwd(nullptr, 0);
        path = std::string(working ? working : "") + "/" + path;
        std::free(working);
    }
    std::vector<std::string> components;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        std::string component = path.substr(start, end - start);
        if (component == "..") {
            if (!components.empty()) {
                components.pop_back();
            }
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    std::string result = "z:";
    for (const std::string& component : components) {
        result += "\\" + component;
    }
    return components.empty() ? result + "\\" : result;
}
