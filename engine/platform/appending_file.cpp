#include "appending_file.h"

#include "native_path.h"

AppendingFile::~AppendingFile() {
    close();
}

bool AppendingFile::open(const std::string& path) {
    close();
    file = std::fopen(toNativePath(path).c_str(), "wb");
    return file != nullptr;
}

bool AppendingFile::write(const std::string& text) {
    if (!file) {
        return false;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fflush(file) == 0 && written;
}

void AppendingFile::close() {
    if (file) {
        std::fclose(file);
        file = nullptr;
    }
}
