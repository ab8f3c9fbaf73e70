#pragma once

#include <cstdio>
#include <string>

// A text file that grows while a run goes on (an input recording, for one): emptied when opened,
// and every write reaches the system at once, so a run that dies keeps what it wrote.
class AppendingFile {
public:
    AppendingFile() = default;
    ~AppendingFile();
    AppendingFile(const AppendingFile&) = delete;
    AppendingFile& operator=(const AppendingFile&) = delete;

    // Creates (or empties) the file at an engine or native path; false when that fails.
    bool open(const std::string& path);
    bool isOpen() const { return file != nullptr; }
    // Appends the text; false when the file is not open or the write failed.
    bool write(const std::string& text);
    void close();

private:
    std::FILE* file = nullptr;
};
