#include "utils_fs.h"

#include "platform/files.h"
#include "platform/process.h"

#include <algorithm>
#include <cctype>

namespace {

std::string& programFolderStorage() {
    static std::string* folder = new std::string();
    return *folder;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string programFolder() {
    std::string& folder = programFolderStorage();
    if (folder.empty()) {
        std::string executable = executablePath();
        folder = lowerCase(executable.substr(0, executable.rfind('\\') + 1));
    }
    return folder;
}

void setProgramFolder(const std::string& folder) {
    std::string& stored = programFolderStorage();
    stored = lowerCase(folder);
    if (!stored.empty() && stored.back() != '\\') {
        stored += '\\';
    }
}

bool readFileRaw(const std::string& path, std::string& out) {
    if (path.empty() || fileSize(path) <= 0) {
        return false;
    }
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        return false;
    }
    size_t end = bytes.find('\0');
    if (end != std::string::npos) {
        bytes.resize(end);
    }
    out = bytes;
    return true;
}

bool writeTextFile(const std::string& path, const std::string& text) {
    return writeFileReplacing(path, text);
}
