#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The problems the check mode finds, each with the file and line it lies at, printed the way
// compilers print them: "FILE:LINE: error: MESSAGE" (FILE relative to the game folder, with
// forward slashes; LINE 0 where a file as a whole is at fault), then "N errors, M warnings".
class CheckReport {
public:
    enum class Severity { Error, Warning };

    struct Problem {
        // Engine form (a full path or a data name); turned into the printed name on output.
        std::string file;
        int line = 0;
        Severity severity = Severity::Error;
        std::string message;
    };

    void error(const std::string& file, int line, const std::string& message);
    void warning(const std::string& file, int line, const std::string& message);

    int errorCount() const { return errors; }
    int warningCount() const { return warnings; }

    // Every problem, by file and line, then the summary line.
    std::string text() const;
    void print(std::FILE* out) const;

private:
    void add(const std::string& file, int line, Severity severity, const std::string& message);

    std::vector<Problem> found;
    int errors = 0;
    int warnings = 0;
};

// The name a report gives a file: relative to the game folder with forward slashes
// ("data/gui/button.spr"); a data name stands for its copy in the common data folder.
std::string reportedFileName(const std::string& path);
