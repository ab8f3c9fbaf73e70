#include "text_file_macros.h"

#include "utils_fs.h"
#include "utils_str.h"

namespace {

const std::string kIncludeOpen = "${include(";
const std::string kIncludeClose = ")}";
const std::string kThisFolder = "${thisfolder}\\";

} // namespace

void expandThisFolder(const std::string& path, std::string& text) {
    if (text.find(kThisFolder) == std::string::npos) {
        return;
    }
    std::string folder = splitPath(path, true, true, false, false);
    makeDataRelative(folder);
    text = replaceAll(text, kThisFolder, folder);
}

bool findIncludeDirective(const std::string& text, size_t from, IncludeDirective& out) {
    size_t start = text.find(kIncludeOpen, from);
    if (start == std::string::npos) {
        return false;
    }
    size_t nameStart = start + kIncludeOpen.size();
    size_t end = text.find(kIncludeClose, nameStart);
    if (end == std::string::npos || end == nameStart) {
        return false;
    }
    out.start = start;
    out.end = end + kIncludeClose.size();
    out.name = text.substr(nameStart, end - nameStart);
    return true;
}
