#include "description_path.h"

#include "utils_fs.h"

std::string resolveDescriptionPath(const std::string& value, const std::string& baseFile,
                                   const std::string* sourceFolder) {
    if (value.find(":\\") != std::string::npos) {
        return value;
    }
    std::string path;
    if (!value.empty() && value[0] == '\\') {
        path = value.substr(1);
    } else {
        // The folder part of a path ends with its separator.
        path = splitPath(sourceFolder ? *sourceFolder : baseFile, true, true, false, false) + value;
    }
    makeDataRelative(path);
    return path;
}
