#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// Non-zero while the game runs full screen: no message boxes are shown then.
extern std::atomic<int> fullScreenMode;
// Non-zero while the debug overlay is shown (toggled by a debug key).
extern std::atomic<int> debugOverlay;

// The platform's modal box; always shown. Kinds and answers are the Windows values
// (platform/message_box.h); answer 6 is Yes.
int rawMessageBox(const std::string& text, int kind);
// rawMessageBox unless full-screen mode is on; then 6 for a Yes/No box and 0 otherwise.
int messageBox(const std::string& text, int kind);
// Logs the text, then asks whether to continue (true for Yes) or only informs (false).
bool showErrorBox(const std::string& text, bool askContinue);
// Shows the error; ends the process with exit code 1 unless the user chose to continue.
int reportError(const std::string& text, bool allowContinue);
// Runs instead of ending the process after a fatal report, for tools that must go on with their
// next piece of work (the check mode throws its own exception from it). The handler must not
// return: if it does, the process ends as without one. An empty handler restores the plain end.
void setFatalErrorHandler(std::function<void(const std::string& text)> handler);

// Appends one dated line to the debug log "last_debug.log" in the log folder. A located
// entry (with a source file) writes the log when it has grown past 50000 characters and keeps the
// last 30000 in memory; the whole log is written again at process exit.
void logDebug(const std::string& text, const char* file = nullptr, int line = 0);
// Writes the debug log now. The engine calls it last as it goes at process exit, since what it
// logs while shutting down (the sound thread's end) comes after the exit-time write.
void writeDebugLog();
// Places the debug log in another folder (tools and tests); the log there is read afresh.
void setDebugLogFolder(const std::string& folder);
// The folder of the engine's diagnostic files (the log, the profiling report, debug dumps):
// the log folder (utils_fs.h) unless placed elsewhere; ends with a backslash.
const std::string& debugFolder();

// Formats printf-style and writes the text to standard error (the debugger output).
void debugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Measures the time a scope takes under the key "file:line". The file text must outlive the
// scope (a string literal such as "TAG|" __FILE__); the key is formatted only for the report.
class ProfileScope {
public:
    ProfileScope() = default;
    ProfileScope(const char* file, int line);
    ProfileScope(const char* file, int line, const std::string& detail);
    ~ProfileScope();
    ProfileScope(const ProfileScope&) = delete;
    ProfileScope& operator=(const ProfileScope&) = delete;

    // Milliseconds since the scope began; 0 for a scope without a key.
    uint32_t elapsed() const;

private:
    const char* file = nullptr;
    int line = 0;
    uint32_t start = 0;
    std::string detail;
};

// Builds the profiling report and resets all statistics.
std::string profilingReport();
// Writes the report to "last_anihitparad.log" in the log folder when it is not empty.
void writeProfilingReport();
