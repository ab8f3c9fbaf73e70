#include "debug.h"

#include "platform/locks.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "string_hash_map.h"
#include "system.h"
#include "utils_fs.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

std::atomic<int> fullScreenMode{0};
std::atomic<int> debugOverlay{0};

namespace {

constexpr size_t kLogWriteThreshold = 50000;
constexpr size_t kLogKeptAfterWrite = 30000;

// The log is appended from the main thread and the sound thread; one mutex keeps the buffer whole.
struct DebugLog {
    std::recursive_mutex mutex;
    std::string folder;
    std::string path;
    std::string buffer;
    bool exitHandlerRegistered = false;
};

DebugLog& debugLog() {
    static DebugLog* log = new DebugLog();
    return *log;
}

const std::string& debugFolder() {
    DebugLog& log = debugLog();
    if (log.folder.empty()) {
        log.folder = programFolder();
    }
    return log.folder;
}

void writeLogAtExit() {
    DebugLog& log = debugLog();
    std::lock_guard<std::recursive_mutex> guard(log.mutex);
    if (!log.path.empty()) {
        writeTextFile(log.path, log.buffer);
    }
}

struct Profiler {
    CriticalSectionLock lock;
    StringHashMap<int> maximum;
    StringHashMap<int> total;
    StringHashMap<int> count;
    StringHashMap<std::string> details;
};

Profiler& profiler() {
    static Profiler* instance = new Profiler();
    return *instance;
}

// Keys hold the source path of the measured block; the engine's own source root is cut from
// them in the report.
std::string sourceRoot() {
    std::string file = __FILE__;
    size_t cut = file.rfind("engine/utils/debug.cpp");
    return cut == std::string::npos ? std::string() : file.substr(0, cut);
}

std::string formatText(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    text.resize(static_cast<size_t>(length));
    return text;
}

} // namespace

int rawMessageBox(const std::string& text, int kind) {
    int buttons = kind & kBoxButtonMask;
    if ((kind & kBoxIconMask) == 0 && (buttons == kBoxOk || buttons == kBoxOkCancel ||
                                       buttons == kBoxYesNoCancel || buttons == kBoxYesNo)) {
        kind |= kBoxIconExclamation;
    }
    return showPlatformMessageBox(text, executablePath().substr(0, 259), kind);
}

int messageBox(const std::string& text, int kind) {
    if (fullScreenMode) {
        return kind == kBoxYesNo ? kAnswerYes : 0;
    }
    return rawMessageBox(text, kind);
}

bool showErrorBox(const std::string& text, bool askContinue) {
    logDebug(text);
    if (askContinue) {
        return messageBox(text + "\nYes to continue, No to stop", kBoxYesNo) == kAnswerYes;
    }
    messageBox(text, kBoxOk);
    return false;
}

int reportError(const std::string& text, bool allowContinue) {
    if (!showErrorBox(text, allowContinue)) {
        terminateProcess(1);
    }
    return 0;
}

void logDebug(const std::string& text, const char* file, int line) {
    ProfileScope scope(__FILE__, __LINE__);
    DebugLog& log = debugLog();
    std::lock_guard<std::recursive_mutex> guard(log.mutex);
    if (log.path.empty()) {
        log.path = debugFolder() + "last_debug.log";
    }
    if (!log.exitHandlerRegistered) {
        log.exitHandlerRegistered = true;
        registerExitHandler(writeLogAtExit);
    }
    if (log.buffer.empty()) {
        readFileRaw(log.path, log.buffer);
    }
    log.buffer += dateText() + " " + timeText() + "\t" + text;
    if (file) {
        char location[600];
        std::snprintf(location, sizeof location, " (%s:%i)", file, line);
        log.buffer += location;
        if (log.buffer.size() > kLogWriteThreshold) {
            writeTextFile(log.path, log.buffer);
            log.buffer.erase(0, log.buffer.size() - kLogKeptAfterWrite);
        }
    }
    log.buffer += "\n";
}

void setDebugLogFolder(const std::string& folder) {
    DebugLog& log = debugLog();
    std::lock_guard<std::recursive_mutex> guard(log.mutex);
    log.folder = folder;
    log.path.clear();
    log.buffer.clear();
}

void debugPrint(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = formatText(format, arguments);
    va_end(arguments);
    std::fputs(text.c_str(), stderr);
}

ProfileScope::ProfileScope(const char* file, int line) : start(getTicks()) {
    char text[600];
    std::snprintf(text, sizeof text, "%s:%i", file, line);
    key = text;
}

ProfileScope::ProfileScope(const char* file, int line, const std::string& detailText)
    : ProfileScope(file, line) {
    detail = "'" + detailText + "'";
}

ProfileScope::~ProfileScope() {
    if (key.empty()) {
        return;
    }
    Profiler& p = profiler();
    ScopedLock guard(p.lock);
    int spent = static_cast<int>(getTicks() - start);
    p.total[key] += spent;
    int& longest = p.maximum[key];
    if (spent > longest) {
        longest = spent;
    }
    p.count[key] += 1;
    if (!detail.empty()) {
        char line[64];
        std::snprintf(line, sizeof line, ": %i", spent);
        p.details[key] += "\n" + detail + line;
    }
}

uint32_t ProfileScope::elapsed() const {
    return key.empty() ? 0 : getTicks() - start;
}

std::string profilingReport() {
    Profiler& p = profiler();
    ScopedLock guard(p.lock);
    std::string report = "\n\nAnti-hitparad:\n";
    std::string root = sourceRoot();
    p.maximum.forEach([&](const std::string& key, int longest) {
        int total = p.total[key];
        int count = p.count[key];
        std::string shownKey = key;
        if (!root.empty() && shownKey.compare(0, root.size(), root) == 0) {
            shownKey.erase(0, root.size());
        }
        char line[800];
        std::snprintf(line, sizeof line, "max=%05i\ttotal=%05i\tcount=%05i\tmid=%04f\t%s\n",
                      longest, total, count, count ? static_cast<double>(total) / count : 0.0,
                      shownKey.c_str());
        report += line;
    });
    report += "\n--\n\n";
    p.details.forEach([&](const std::string& key, const std::string& lines) {
        report += "\n" + key + ": spec information" + lines;
    });
    // The closing words, "hit parade of animators", kept in the Windows-1251 code page.
    report += "\n\n--\n\xD5\xE8\xF2 \xEF\xE0\xF0\xE0\xE4 \xE0\xED\xE8\xEC\xE0\xF2\xEE\xF0\xEE\xE2"
              ": the end\n\n";
    p.maximum.clear();
    p.total.clear();
    p.count.clear();
    p.details.clear();
    return report;
}

void writeProfilingReport() {
    std::string report = profilingReport();
    if (!report.empty()) {
        writeTextFile(debugFolder() + "last_anihitparad.log", report);
    }
}
