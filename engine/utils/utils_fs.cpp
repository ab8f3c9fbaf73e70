#include "utils_fs.h"

#include "debug.h"
#include "engine_state.h"
#include "platform/files.h"
#include "platform/locks.h"
#include "platform/message_box.h"
#include "platform/native_path.h"
#include "platform/os_info.h"
#include "platform/process.h"
#include "string_hash_map.h"
#include "system.h"
#include "text_file_check.h"
#include "text_file_macros.h"
#include "utils_lang.h"
#include "utils_str.h"

#include <algorithm>
#include <unordered_set>

namespace {

// From this stage on every data file of a known kind must already have been resolved.
constexpr int kStageRunning = 500;
// The caches hold one entry per data file; enough buckets keep a lookup short.
constexpr size_t kCacheBuckets = 4099;

// Where an installed program finds the game it ships with: Debian's games keep the executable in
// PREFIX/games/ and its data in PREFIX/share/games/NAME/.
const char* const kInstalledGameFolder = "..\\share\\games\\vellum\\";

struct Folders {
    std::string program;
    // The game beside the program, or the installed one when the program folder holds no data.
    std::string programGame;
    // Empty while no game was chosen: the program's game is played.
    std::string game;
    std::string user;
    std::string appDataName;
};

Folders& folders() {
    static Folders* instance = new Folders();
    return *instance;
}

// Data name (with its prefix) to resolved path. The sound thread resolves music through it, so
// every use holds the lock. It is held only to read or store an entry, never while a path is
// resolved: resolving takes the language lock (which localize holds while it resolves its string
// file) and may report, so holding it longer would order it against other locks.
struct PathCache {
    CriticalSectionLock lock;
    StringHashMap<std::string> paths{kCacheBuckets};
};

PathCache& pathCache() {
    static PathCache* instance = new PathCache();
    return *instance;
}

// File path to the raw text as read. The debug log is written from the sound thread and from exit
// handlers, and every write drops an entry, so the cache has a lock of its own.
struct TextCache {
    CriticalSectionLock lock;
    StringHashMap<std::string> texts{kCacheBuckets};
};

TextCache& textCache() {
    static TextCache* instance = new TextCache();
    return *instance;
}

CriticalSectionLock& fileListLock() {
    static CriticalSectionLock* lock = new CriticalSectionLock();
    return *lock;
}

bool contains(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

std::string withTrailingBackslash(const std::string& folder) {
    return !folder.empty() && folder.back() != '\\' ? folder + "\\" : folder;
}

// Creates the folder and every missing folder above it.
void createFolders(const std::string& folder) {
    size_t start = folder.find(":\\") != std::string::npos ? folder.find(":\\") + 2 : 0;
    for (size_t at = folder.find('\\', start); at != std::string::npos;
         at = folder.find('\\', at + 1)) {
        std::string level = folder.substr(0, at);
        if (!level.empty() && !isFolder(level)) {
            createFolder(level);
        }
    }
    if (!isFolder(folder)) {
        createFolder(folder);
    }
}

std::string computeUserFolder() {
    Folders& state = folders();
    std::string folder;
    std::string option;
    if (getCommandLineOption("ul", option, true)) {
        // A folder given on the command line may be written natively ("/home/u/x").
        folder = option.empty() ? gameFolder() + "UserData" : toEnginePath(option);
    } else if (isFolder(gameFolder() + "Profile")) {
        folder = gameFolder() + "Profile";
    } else {
        if (state.appDataName.empty()) {
            showErrorBox("UserFolder not defined!", false);
        }
        std::string base = getSpecialFolder(kFolderRoamingAppData);
        if (base.empty()) {
            base = gameFolder();
        }
        folder = withTrailingBackslash(base) + state.appDataName;
    }
    if (folder.size() > 1 && folder.back() == '\\') {
        folder.pop_back();
    }
    if (!isFolder(folder)) {
        createFolders(folder);
    }
    return folder + "\\";
}

// The game a program folder plays: its own data, or else the installed layout's beside it.
std::string gameOfProgram(const std::string& program) {
    if (isFolder(program + "data") || !isFolder(program + kInstalledGameFolder + "data")) {
        return program;
    }
    return withTrailingBackslash(
        toLower(absoluteEnginePath(toNativePath(program + kInstalledGameFolder))));
}

// The user folder and the resolved data paths follow the program and game folders.
void forgetResolvedFolders() {
    folders().user.clear();
    PathCache& cache = pathCache();
    ScopedLock guard(cache.lock);
    cache.paths.clear();
}

std::string resolveWithPrefix(const std::string& prefix, const std::string& givenName,
                              bool useCache) {
    if (contains(givenName, ":\\")) {
        return givenName;
    }
    std::string name = startsWith(givenName, "\\") ? givenName.substr(1) : givenName;
    std::string key = prefix + name;
    PathCache& cache = pathCache();
    if (useCache) {
        ScopedLock guard(cache.lock);
        if (const std::string* cached = cache.paths.find(key)) {
            return *cached;
        }
    }
    int kind = classifyPath(key);
    if (useCache && engineStage() >= kStageRunning && kind != kFileOther && kind != kFileInline &&
        !contains(key, "?") && !contains(key, "*")) {
        reportError(format("File not found or uncached!\n'%s'", key.c_str()), false);
    }
    checkPathForm(key);

    std::string language = getLanguage();
    if (language.empty()) {
        reportError("Lang not defined!!!", false);
    }
    const std::string root = gameFolder();
    std::string candidate = format("%s%s\\%s", root.c_str(), language.c_str(), key.c_str());
    if (key.empty() || !fileExists(candidate)) {
        candidate = format("%sdata\\%s", root.c_str(), key.c_str());
    }
    if (!key.empty()) {
        checkPathForm(candidate);
    }
    candidate = toLower(candidate);
    ScopedLock guard(cache.lock);
    cache.paths.set(key, candidate);
    return candidate;
}

// The raw text of the file, from the cache or from disk (then remembered).
bool cachedRawText(const std::string& path, std::string& text) {
    TextCache& cache = textCache();
    {
        ScopedLock guard(cache.lock);
        if (const std::string* cached = cache.texts.find(path)) {
            text = *cached;
            return true;
        }
    }
    {
        ProfileScope scope("READFILE-CACH MISS-READFILE|" __FILE__, __LINE__, path);
        if (!readFileRaw(path, text)) {
            return false;
        }
    }
    ProfileScope scope("READFILE-CACH MISS-ADD2MAP|" __FILE__, __LINE__);
    ScopedLock guard(cache.lock);
    cache.texts.set(path, text);
    return true;
}

bool readExpandedText(const std::string& name, std::string& out,
                      std::vector<std::string>& includeChain);

// Replaces each include directive by the named file's expanded text, left to right; the inserted
// texts are not scanned again, so expansion always ends. A directive without its closing ")}",
// with an empty name, or naming a file that is already being expanded (which would never end)
// stops the expansion and leaves the rest of the text as it is.
void expandIncludes(std::string& text, std::vector<std::string>& includeChain) {
    StringHashMap<std::string> includedTexts;
    std::string result;
    size_t position = 0;
    IncludeDirective directive;
    while (findIncludeDirective(text, position, directive)) {
        const std::string* included = includedTexts.find(directive.name);
        if (!included) {
            std::string path = resolveDataPath(directive.name);
            if (std::find(includeChain.begin(), includeChain.end(), path) != includeChain.end()) {
                logDebug(format("Recursive include of '%s' in '%s'", path.c_str(),
                                includeChain.back().c_str()));
                break;
            }
            std::string includedText;
            readExpandedText(path, includedText, includeChain);
            included = &(includedTexts[directive.name] = includedText);
        }
        result.append(text, position, directive.start - position);
        result += *included;
        position = directive.end;
    }
    if (position > 0) {
        result.append(text, position, std::string::npos);
        text.swap(result);
    }
}

void expandMacros(const std::string& path, std::string& text,
                  std::vector<std::string>& includeChain) {
    expandThisFolder(path, text);
    includeChain.push_back(path);
    expandIncludes(text, includeChain);
    includeChain.pop_back();
}

bool readExpandedText(const std::string& name, std::string& out,
                      std::vector<std::string>& includeChain) {
    ProfileScope scope("READFILE|" __FILE__, __LINE__);
    if (name.empty()) {
        return false;
    }
    std::string path = contains(name, ":\\") ? name : resolveDataPath(name);
    checkPathForm(path);
    if (!fileExists(path)) {
        showErrorBox(format("Attemp to read nonexisted TEXT file\n%s", path.c_str()), false);
    }
    std::string text;
    if (!cachedRawText(path, text)) {
        return false;
    }
    ProfileScope handling("READFILE-CACH MISS-HANDLIING|" __FILE__, __LINE__);
    text = replaceAll(text, "\r", "");
    if (contains(text, "$")) {
        expandMacros(path, text, includeChain);
    }
    out = text;
    return true;
}

struct ListedEntry {
    std::string name;
    bool isFolder;
};

// The folder's entries as the rendering library's file list orders them: folders first, then
// by name without regard to case.
std::vector<ListedEntry> sortedEntries(const std::string& folder) {
    std::vector<ListedEntry> entries;
    for (const FolderEntry& entry : listFolder(folder)) {
        entries.push_back({entry.name, entry.isFolder});
    }
    std::sort(entries.begin(), entries.end(), [](const ListedEntry& a, const ListedEntry& b) {
        if (a.isFolder != b.isFolder) {
            return a.isFolder;
        }
        return toLower(a.name) < toLower(b.name);
    });
    return entries;
}

void listFilesBelow(std::vector<std::string>& out, std::unordered_set<std::string>& listed,
                    const std::string& top, const std::string& folder, const std::string& pattern) {
    for (const ListedEntry& entry : sortedEntries(folder)) {
        if (entry.name.empty() || entry.name[0] == '.') {
            continue;
        }
        std::string fullName = toLower(folder + entry.name);
        std::string below = fullName.substr(top.size());
        if (contains(below, "svn") || contains(below, "u-")) {
            continue;
        }
        if (entry.isFolder) {
            listFilesBelow(out, listed, top, folder + entry.name + "\\", pattern);
            continue;
        }
        if (!pattern.empty() && !wildcardMatch(toLower(entry.name), pattern)) {
            continue;
        }
        if (listed.insert(fullName).second) {
            out.push_back(fullName);
        }
    }
}

} // namespace

std::string programFolder() {
    Folders& state = folders();
    if (state.program.empty()) {
        std::string executable = executablePath();
        state.program = toLower(executable.substr(0, executable.rfind('\\') + 1));
        state.programGame = gameOfProgram(state.program);
    }
    return state.program;
}

void setProgramFolder(const std::string& folder) {
    Folders& state = folders();
    state.program = withTrailingBackslash(toLower(folder));
    state.programGame = gameOfProgram(state.program);
    forgetResolvedFolders();
}

std::string gameFolder() {
    const Folders& state = folders();
    if (!state.game.empty()) {
        return state.game;
    }
    programFolder();
    return state.programGame;
}

void setGameFolder(const std::string& folder) {
    folders().game = folder.empty() ? std::string() : withTrailingBackslash(toLower(folder));
    forgetResolvedFolders();
}

std::string logFolder() {
    const Folders& state = folders();
    const std::string game = gameFolder();
    const bool installed = state.game.empty() && game != state.program;
    if (!installed && isWritableFolder(game)) {
        return game;
    }
    std::string base = userStateFolder();
    if (base.empty()) {
        return game;
    }
    std::string folder = withTrailingBackslash(base) +
                         (state.appDataName.empty() ? std::string("vellum") : state.appDataName);
    createFolders(folder);
    return folder + "\\";
}

void setAppDataFolderName(const std::string& name) {
    Folders& state = folders();
    state.appDataName = name;
    state.user.clear();
}

std::string userFolder() {
    std::string& folder = folders().user;
    if (folder.empty()) {
        folder = computeUserFolder();
    }
    return folder;
}

std::string resolveDataPath(const std::string& name) {
    return resolveWithPrefix("", name, true);
}

std::string resolveDataPathUncached(const std::string& name) {
    return resolveWithPrefix("", name, false);
}

std::string languageDataPath(const std::string& name) {
    return format("%s%s\\%s", gameFolder().c_str(), getLanguage().c_str(), name.c_str());
}

void makeDataRelative(std::string& path) {
    path = toLower(path);
    path = replaceAll(path, gameFolder() + "data\\", "");
    if (!getLanguage().empty()) {
        path = replaceAll(path, languageDataPath(""), "");
    }
}

std::string soundPath(const std::string& name) {
    return resolveWithPrefix("sounds\\", name, true);
}

std::string musicPath(const std::string& name) {
    if (startsWith(name, gameFolder())) {
        return name;
    }
    return resolveWithPrefix("sounds\\music\\", name, true);
}

bool readTextFile(const std::string& name, std::string& out) {
    std::vector<std::string> includeChain;
    return readExpandedText(name, out, includeChain);
}

namespace {

bool readCheckedFile(const std::string& path, std::string& out, size_t maxLineBytes) {
    if (path.empty() || fileSize(path) <= 0) {
        return false;
    }
    std::string bytes;
    if (!readWholeFile(path, bytes) || !checkTextFileBytes(path, bytes, maxLineBytes)) {
        return false;
    }
    out = bytes;
    return true;
}

} // namespace

bool readFileRaw(const std::string& path, std::string& out) {
    return readCheckedFile(path, out, kMaxTextLineBytes);
}

bool readSavedFileRaw(const std::string& path, std::string& out) {
    return readCheckedFile(path, out, std::string::npos);
}

bool writeTextFile(const std::string& path, const std::string& text, std::string* failure) {
    bool written = writeFileReplacing(path, text, failure);
    TextCache& cache = textCache();
    ScopedLock guard(cache.lock);
    cache.texts.remove(path);
    return written;
}

void clearTextCache() {
    TextCache& cache = textCache();
    ScopedLock guard(cache.lock);
    cache.texts.clear();
}

bool fileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    std::string lower = toLower(path);
    for (const char* archive : {".zip\\", ".wsc\\"}) {
        size_t at = lower.find(archive);
        if (at != std::string::npos) {
            return pathExists(path.substr(0, at + 4));
        }
    }
    size_t question = lower.find('?');
    if (question != std::string::npos) {
        return pathExists(path.substr(0, question));
    }
    if (path.back() == '\\') {
        return pathExists(path.substr(0, path.size() - 1));
    }
    return pathExists(path);
}

int classifyPath(const std::string& name) {
    if (name.size() < 6) {
        return kFileOther;
    }
    if (startsWith(name, "raw:\\")) {
        return kFileInline;
    }
    static const std::pair<const char*, FileKind> kEndings[] = {
        {".spr", kFileSpriteDescription},
        {".txt", kFileText},
        {".wav", kFileSound},
        {".dlg", kFileDialog},
        {".nut", kFileScript},
        {".cfg", kFileConfiguration},
    };
    for (const auto& [ending, kind] : kEndings) {
        if (contains(name, ending)) {
            return kind;
        }
    }
    return kFileOther;
}

void checkPathForm(const std::string& path) {
    if (classifyPath(path) == kFileInline) {
        return;
    }
    if (contains(path, "/")) {
        messageBox(format("Wrong texure path! Cache miss: '/'\n%s", path.c_str()), kBoxOk);
    }
    if (contains(path, "\\\\")) {
        messageBox(format("Wrong texure path! Cache miss:'\\\\'\n%s", path.c_str()), kBoxOk);
    }
    std::string rest = path.substr(0, path.find('?'));
    rest = replaceAll(rest, gameFolder(), "");
    if (rest != toLower(rest)) {
        messageBox(format("Wrong texure path! Cache miss: path case\n%s", path.c_str()), kBoxOk);
    }
}

std::string splitPath(const std::string& path, bool drive, bool folder, bool name, bool extension) {
    std::string lower = toLower(path);
    if ((path.size() >= 8 && startsWith(lower, "http://")) || startsWith(lower, "::{")) {
        return path;
    }
    size_t folderStart = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    size_t lastSeparator = path.find_last_of("\\/");
    size_t nameStart = lastSeparator == std::string::npos || lastSeparator < folderStart
                           ? folderStart
                           : lastSeparator + 1;
    size_t dot = path.rfind('.');
    size_t extensionStart = dot == std::string::npos || dot < nameStart ? path.size() : dot;

    std::string result;
    if (drive) {
        result += path.substr(0, folderStart);
    }
    if (folder) {
        result += path.substr(folderStart, nameStart - folderStart);
    }
    if (name) {
        result += path.substr(nameStart, extensionStart - nameStart);
    }
    if (extension) {
        result += path.substr(extensionStart);
    }
    return result;
}

void listFiles(std::vector<std::string>& out, const std::string& folder,
               const std::string& pattern) {
    ScopedLock guard(fileListLock());
    std::string top =
        withTrailingBackslash(contains(folder, ":\\") ? folder : gameFolder() + folder);
    std::unordered_set<std::string> listed(out.begin(), out.end());
    listFilesBelow(out, listed, toLower(top), top, toLower(pattern));
}

bool getCommandLineOptionAsWritten(const std::string& name, std::string& value) {
    value.clear();
    // Searched in lower case; byte-wise lower-casing keeps every offset, so the value is cut from
    // the text as written.
    const std::string written = commandLineText() + " ";
    const std::string line = toLower(written);
    std::string option = toLower(name);
    size_t optionAt = std::string::npos;
    for (char prefix : {'-', '\\', '/', '#', '$', '@'}) {
        for (char terminator : {'=', ' '}) {
            optionAt = line.find(prefix + option + terminator);
            if (optionAt != std::string::npos) {
                break;
            }
        }
        if (optionAt != std::string::npos) {
            break;
        }
    }
    if (optionAt == std::string::npos) {
        return false;
    }
    std::string rest = written.substr(optionAt + 1 + option.size());
    if (startsWith(rest, "=")) {
        rest.erase(0, 1);
    }
    // An argument holding a blank stands in double quotes as a whole ("-ul=a b"); its value then
    // ends at the closing quote.
    bool wholeArgumentQuoted = optionAt > 0 && line[optionAt - 1] == '"';
    if (startsWith(rest, "\"")) {
        value = rest.substr(1, rest.find('"', 1) - 1);
    } else if (wholeArgumentQuoted) {
        value = rest.substr(0, rest.find('"'));
    } else {
        value = rest.substr(0, rest.find(' '));
    }
    return true;
}

bool getCommandLineOption(const std::string& name, std::string& value, bool allowFileReference) {
    if (!getCommandLineOptionAsWritten(name, value)) {
        return false;
    }
    value = toLower(value);
    if (allowFileReference && startsWith(value, "@")) {
        std::string file = toEnginePath(value.substr(1));
        if (!contains(file, ":\\")) {
            file = programFolder() + file;
        }
        std::string contents;
        readFileRaw(file, contents);
        value = contents;
    }
    return true;
}
