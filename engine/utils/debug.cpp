#include "debug.h"

#include "platform/clock.h"
#include "platform/locks.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "string_hash_map.h"
#include "system.h"
#include "utils_fs.h"
#include "utils_str.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <unordered_map>
#include <vector>

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

void writeLogAtExit() {
    DebugLog& log = debugLog();
    std::lock_guard<std::recursive_mutex> guard(log.mutex);
    if (!log.path.empty()) {
        writeTextFile(log.path, log.buffer);
    }
}

// Statistics of one measured place, kept in the order the places first completed.
struct ProfileStats {
    std::string key;
    int maximum = 0;
    int total = 0;
    int count = 0;
    std::string details;
};

struct SourcePoint {
    const char* file;
    int line;
    bool operator==(const SourcePoint& other) const {
        return file == other.file && line == other.line;
    }
};

struct SourcePointHash {
    size_t operator()(const SourcePoint& point) const {
        return std::hash<const void*>()(point.file) ^ static_cast<size_t>(point.line) * 31u;
    }
};

// Scopes find their statistics by the address of their file text and their line, so a scope
// costs two clock reads and a hash lookup; keys are formatted once per place.
struct Profiler {
    CriticalSectionLock lock;
    std::unordered_map<SourcePoint, size_t, SourcePointHash> places;
    std::vector<ProfileStats> stats;
};

Profiler& profiler() {
    static Profiler* instance = new Profiler();
    return *instance;
}

ProfileStats& statsFor(Profiler& p, const char* file, int line) {
    auto [place, inserted] = p.places.try_emplace(SourcePoint{file, line}, p.stats.size());
    if (!inserted) {
        return p.stats[place->second];
    }
    char key[600];
    std::snprintf(key, sizeof key, "%s:%i", file, line);
    // Two places may print the same key (the same text at two addresses); they share statistics.
    for (size_t i = 0; i < p.stats.size(); ++i) {
        if (p.stats[i].key == key) {
            place->second = i;
            return p.stats[i];
        }
    }
    p.stats.emplace_back();
    p.stats.back().key = key;
    return p.stats.back();
}

// Keys hold the source path of the measured block; the engine's own source root is cut from
// them in the report.
std::string sourceRoot() {
    std::string sourceFile = __FILE__;
    size_t cut = sourceFile.rfind("engine/utils/debug.cpp");
    return cut == std::string::npos ? std::string() : sourceFile.substr(0, cut);
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

const std::string& debugFolder() {
    DebugLog& log = debugLog();
    if (log.folder.empty()) {
        log.folder = programFolder();
    }
    return log.folder;
}

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

// Scopes count whole milliseconds and some run once per node and frame, so they read the coarse
// clock and take the profiler's lock without a ScopedLock (which reads the clock as well).
ProfileScope::ProfileScope(const char* sourceFile, int sourceLine)
    : file(sourceFile), line(sourceLine), start(coarseMonotonicMilliseconds()) {}

ProfileScope::ProfileScope(const char* sourceFile, int sourceLine, const std::string& detailText)
    : ProfileScope(sourceFile, sourceLine) {
    detail = "'" + detailText + "'";
}

ProfileScope::~ProfileScope() {
    if (!file) {
        return;
    }
    int spent = static_cast<int>(coarseMonotonicMilliseconds() - start);
    Profiler& p = profiler();
    std::lock_guard<CriticalSectionLock> guard(p.lock);
    ProfileStats& stats = statsFor(p, file, line);
    stats.total += spent;
    if (spent > stats.maximum) {
        stats.maximum = spent;
    }
    stats.count += 1;
    if (!detail.empty()) {
        char text[64];
        std::snprintf(text, sizeof text, ": %i", spent);
        stats.details += "\n" + detail + text;
    }
}

uint32_t ProfileScope::elapsed() const {
    return file ? coarseMonotonicMilliseconds() - start : 0;
}

std::string profilingReport() {
    Profiler& p = profiler();
    ScopedLock guard(p.lock);
    // The report lists the places in the order of the engine's string-keyed map.
    StringHashMap<const ProfileStats*> byKey;
    StringHashMap<const ProfileStats*> withDetails;
    for (const ProfileStats& stats : p.stats) {
        byKey[stats.key] = &stats;
        if (!stats.details.empty()) {
            withDetails[stats.key] = &stats;
        }
    }
    std::string root = sourceRoot();
    std::string report = "\n\nAnti-hitparad:\n";
    byKey.forEach([&](const std::string& key, const ProfileStats* stats) {
        std::string shownKey = root.empty() ? key : replaceAll(key, root, "");
        char text[800];
        std::snprintf(text, sizeof text, "max=%05i\ttotal=%05i\tcount=%05i\tmid=%04f\t%s\n",
                      stats->maximum, stats->total, stats->count,
                      stats->count ? static_cast<double>(stats->total) / stats->count : 0.0,
                      shownKey.c_str());
        report += text;
    });
    report += "\n--\n\n";
    withDetails.forEach([&](const std::string& key, const ProfileStats* stats) {
        report += "\n" + key + ": spec information" + stats->details;
    });
    // The closing words, "hit parade of animators", kept in the Windows-1251 code page.
    report += "\n\n--\n\xD5\xE8\xF2 \xEF\xE0\xF0\xE0\xE4 \xE0\xED\xE8\xEC\xE0\xF2\xEE\xF0\xEE\xE2"
              ": the end\n\n";
    p.places.clear();
    p.stats.clear();
    return report;
}

void writeProfilingReport() {
    std::string report = profilingReport();
    if (!report.empty()) {
        writeTextFile(debugFolder() + "last_anihitparad.log", report);
    }
}
