#include "check_report.h"

#include "utils/utils_fs.h"
#include "utils/utils_str.h"

#include <algorithm>

void CheckReport::error(const std::string& file, int line, const std::string& message) {
    add(file, line, Severity::Error, message);
}

void CheckReport::warning(const std::string& file, int line, const std::string& message) {
    add(file, line, Severity::Warning, message);
}

void CheckReport::add(const std::string& file, int line, Severity severity,
                      const std::string& message) {
    // A file reached from several places is looked at once per place; its problems count once.
    for (const Problem& problem : found) {
        if (problem.file == file && problem.line == line && problem.message == message) {
            return;
        }
    }
    found.push_back(Problem{file, line, severity, message});
    ++(severity == Severity::Error ? errors : warnings);
}

std::string CheckReport::text() const {
    struct Line {
        std::string file;
        int line;
        std::string text;
    };
    std::vector<Line> lines;
    for (const Problem& problem : found) {
        std::string file = reportedFileName(problem.file);
        // Line breaks of engine messages would break the one-problem-a-line form.
        std::string message = replaceAll(problem.message, "\n", " ");
        lines.push_back(Line{file, problem.line,
                             format("%s:%d: %s: %s", file.c_str(), problem.line,
                                    problem.severity == Severity::Error ? "error" : "warning",
                                    message.c_str())});
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    std::string out;
    for (const Line& line : lines) {
        out += line.text + "\n";
    }
    // Always plural, so that tools read the summary with one pattern.
    out += format("%d errors, %d warnings\n", errors, warnings);
    return out;
}

void CheckReport::print(std::FILE* out) const {
    std::fputs(text().c_str(), out);
    std::fflush(out);
}

std::string reportedFileName(const std::string& path) {
    std::string name = toLower(path);
    const std::string root = gameFolder();
    if (startsWith(name, root)) {
        name = name.substr(root.size());
    } else if (name.find(":\\") == std::string::npos) {
        name = "data\\" + (startsWith(name, "\\") ? name.substr(1) : name);
    }
    return replaceAll(name, "\\", "/");
}
