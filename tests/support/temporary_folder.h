#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the scope.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Native path, ending with "/".
    const std::string& native() const { return nativePath; }
    // Engine path ("z:\tmp\..."), ending with a backslash.
    std::string engine() const;

    // Writes a file below the folder (native relative path, folders created as needed).
    void write(const std::string& relativePath, const std::string& content) const;
    // The content of a file below the folder; empty when missing.
    std::string read(const std::string& relativePath) const;
    bool exists(const std::string& relativePath) const;

private:
    std::string nativePath;
};
