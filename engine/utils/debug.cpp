#include "debug.h"

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/locks.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "string_hash_map.h"
#include "system.h"
#include "utils_fs.h"
#include "utils_str.h"

#include <cstdarg>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>

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

} // namespace

void writeDebugLog() {
    DebugLog& log = debugLog();
    std::lock_guard<std::recursive_mutex> guard(log.mutex);
    if (!log.path.empty()) {
        writeTextFile(log.path, log.buffer);
    }
}

namespace {

// One thread's count of completed scopes at one place. Only that thread adds to it, with a plain
// load and store: a locked add per scope stalls the per-node loops until every pending store
// has drained. The report reads the count and remembers how much of it it has reported.
struct ThreadCount {
    explicit ThreadCount(std::thread::id owner) : owner(owner) {}
    // A thread that starts after the owner ended may get its id, and carries on its count.
    std::thread::id owner;
    std::atomic<long long> count{0};
    // Under the profiler's lock.
    long long reported = 0;
};

// Statistics of one measured place, kept in the order the places first completed.
// The counters are updated without the profiler's lock (scopes run once per node and frame, on
// the main and the sound thread); the details and the list of thread counts only under it.
struct ProfileStats {
    std::string key;
    std::atomic<int> maximum{0};
    std::atomic<int> total{0};
    // One per thread that completed a scope here; kept when the thread ends, so its count
    // still reaches the next report.
    std::deque<ThreadCount> threadCounts;
    std::string details;

    // The calling thread's count (with the profiler's lock held).
    ThreadCount& countOfThisThread() {
        const std::thread::id self = std::this_thread::get_id();
        for (ThreadCount& counted : threadCounts) {
            if (counted.owner == self) {
                return counted;
            }
        }
        return threadCounts.emplace_back(self);
    }

    // The scopes completed since the last call (with the profiler's lock held).
    int takeCount() {
        long long completed = 0;
        for (ThreadCount& counted : threadCounts) {
            const long long now = counted.count.load(std::memory_order_relaxed);
            completed += now - counted.reported;
            counted.reported = now;
        }
        return static_cast<int>(completed);
    }
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

// Scopes find their statistics by the address of their file text and their line; keys are
// formatted once per place. Statistics are never removed (a report only zeroes them), so each
// thread may keep pointers to them.
struct Profiler {
    CriticalSectionLock lock;
    std::unordered_map<SourcePoint, ProfileStats*, SourcePointHash> places;
    std::deque<ProfileStats> stats;
};

Profiler& profiler() {
    static Profiler* instance = new Profiler();
    return *instance;
}

// Called with the profiler's lock held.
ProfileStats& statsFor(Profiler& p, const char* file, int line) {
    auto [place, inserted] = p.places.try_emplace(SourcePoint{file, line}, nullptr);
    if (!inserted) {
        return *place->second;
    }
    char key[600];
    std::snprintf(key, sizeof key, "%s:%i", file, line);
    // Two places may print the same key (the same text at two addresses); they share statistics.
    for (ProfileStats& stats : p.stats) {
        if (stats.key == key) {
            place->second = &stats;
            return stats;
        }
    }
    p.stats.emplace_back();
    p.stats.back().key = key;
    place->second = &p.stats.back();
    return p.stats.back();
}

// Each thread remembers the statistics of the places it measured last, with its own count of
// each, so the scopes of a per-node loop take no lock.
struct CachedPlace {
    const char* file = nullptr;
    int line = 0;
    ProfileStats* stats = nullptr;
    ThreadCount* count = nullptr;
};
constexpr size_t kCachedPlaces = 64;
thread_local CachedPlace cachedPlaces[kCachedPlaces];

const CachedPlace& cachedPlaceFor(const char* file, int line) {
    CachedPlace& cached = cachedPlaces[SourcePointHash()(SourcePoint{file, line}) % kCachedPlaces];
    if (cached.file != file || cached.line != line || cached.stats == nullptr) {
        Profiler& p = profiler();
        std::lock_guard<CriticalSectionLock> guard(p.lock);
        ProfileStats& stats = statsFor(p, file, line);
        cached = CachedPlace{file, line, &stats, &stats.countOfThisThread()};
    }
    return cached;
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

std::function<void(const std::string&)>& fatalErrorHandler() {
    static auto* handler = new std::function<void(const std::string&)>();
    return *handler;
}

} // namespace

const std::string& debugFolder() {
    DebugLog& log = debugLog();
    if (log.folder.empty()) {
        log.folder = logFolder();
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
        if (const auto& handler = fatalErrorHandler()) {
            handler(text);
        }
        terminateProcess(1);
    }
    return 0;
}

void setFatalErrorHandler(std::function<void(const std::string& text)> handler) {
    fatalErrorHandler() = std::move(handler);
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
        registerExitHandler(writeDebugLog);
    }
    if (log.buffer.empty()) {
        // The log's own bytes, unchecked: the text file checks report through this log.
        readWholeFile(log.path, log.buffer);
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
    const int spent = static_cast<int>(coarseMonotonicMilliseconds() - start);
    const CachedPlace& place = cachedPlaceFor(file, line);
    ProfileStats& stats = *place.stats;
    if (spent != 0) {
        stats.total.fetch_add(spent, std::memory_order_relaxed);
        int maximum = stats.maximum.load(std::memory_order_relaxed);
        while (spent > maximum &&
               !stats.maximum.compare_exchange_weak(maximum, spent, std::memory_order_relaxed)) {
        }
    }
    place.count->count.store(place.count->count.load(std::memory_order_relaxed) + 1,
                             std::memory_order_relaxed);
    if (!detail.empty()) {
        char text[64];
        std::snprintf(text, sizeof text, ": %i", spent);
        Profiler& p = profiler();
        std::lock_guard<CriticalSectionLock> guard(p.lock);
        stats.details += "\n" + detail + text;
    }
}

uint32_t ProfileScope::elapsed() const {
    return file ? coarseMonotonicMilliseconds() - start : 0;
}

std::string profilingReport() {
    Profiler& p = profiler();
    ScopedLock guard(p.lock);
    // Each place's statistics are taken and zeroed; places not completed since the last report
    // are left out.
    struct Taken {
        int maximum;
        int total;
        int count;
        std::string details;
    };
    std::deque<Taken> taken;
    // The report lists the places in the order of the engine's string-keyed map.
    StringHashMap<const Taken*> byKey;
    StringHashMap<const Taken*> withDetails;
    for (ProfileStats& stats : p.stats) {
        taken.push_back(Taken{stats.maximum.exchange(0), stats.total.exchange(0), stats.takeCount(),
                              std::move(stats.details)});
        stats.details.clear();
        if (taken.back().count == 0) {
            continue;
        }
        byKey[stats.key] = &taken.back();
        if (!taken.back().details.empty()) {
            withDetails[stats.key] = &taken.back();
        }
    }
    std::string root = sourceRoot();
    std::string report = "\n\nAnti-hitparad:\n";
    byKey.forEach([&](const std::string& key, const Taken* stats) {
        std::string shownKey = root.empty() ? key : replaceAll(key, root, "");
        char text[800];
        std::snprintf(text, sizeof text, "max=%05i\ttotal=%05i\tcount=%05i\tmid=%04f\t%s\n",
                      stats->maximum, stats->total, stats->count,
                      static_cast<double>(stats->total) / stats->count, shownKey.c_str());
        report += text;
    });
    report += "\n--\n\n";
    withDetails.forEach([&](const std::string& key, const Taken* stats) {
        report += "\n" + key + ": spec information" + stats->details;
    });
    // The closing words, "hit parade of animators", kept in the Windows-1251 code page.
    report += "\n\n--\n\xD5\xE8\xF2 \xEF\xE0\xF0\xE0\xE4 \xE0\xED\xE8\xEC\xE0\xF2\xEE\xF0\xEE\xE2"
              ": the end\n\n";
    return report;
}

void writeProfilingReport() {
    std::string report = profilingReport();
    if (!report.empty()) {
        writeTextFile(debugFolder() + "last_anihitparad.log", report);
    }
}
