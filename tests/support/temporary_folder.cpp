#include "support/temporary_folder.h"

#include "platform/native_path.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <stdlib.h>

TemporaryFolder::TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vellum-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    nativePath = pattern + "/";
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(nativePath, ignored);
}

std::string TemporaryFolder::engine() const {
    return toEnginePath(nativePath);
}

void TemporaryFolder::write(const std::string& relativePath, const std::string& content) const {
    std::filesystem::path path = nativePath + relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string TemporaryFolder::read(const std::string& relativePath) const {
    std::ifstream in(nativePath + relativePath, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool TemporaryFolder::exists(const std::string& relativePath) const {
    return std::filesystem::exists(nativePath + relativePath);
}
