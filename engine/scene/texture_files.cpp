#include "texture_files.h"

#include "utils/utils_fs.h"

std::string imageFilePart(const std::string& path) {
    return path.substr(0, path.find_first_of("[]|"));
}

std::string imageFilePath(const std::string& path) {
    return resolveDataPath(imageFilePart(path));
}
