#include "utils_lang.h"

#include "debug.h"
#include "description_path.h"
#include "engine_state.h"
#include "platform/files.h"
#include "platform/locks.h"
#include "string_hash_map.h"
#include "utils_fs.h"
#include "utils_str.h"

namespace {

const std::string kEnglish = "data_en";
// The finished strings are spread over this many buckets.
constexpr size_t kStringCacheBuckets = 101;

struct Localization {
    // Guards the language and the current string file. localize holds it while it resolves the
    // string file, which takes the data path cache's lock; that cache takes this one only while
    // its own lock is free, so the order is always this lock, then the path cache's.
    CriticalSectionLock languageLock;
    std::string language;
    bool languageChanged = false;
    std::string stringFilePath;

    // Guards both caches.
    CriticalSectionLock cacheLock;
    // Cache key (string file and "key=") to the finished text.
    StringHashMap<std::string> strings{kStringCacheBuckets};
    // String file path to its text framed for lookup; path + "Low" to the lower-cased copy.
    StringHashMap<std::string> files;

    // Makes the fallback with its append, and the rewrite of a file, one step at a time.
    CriticalSectionLock fallbackLock;
    CriticalSectionLock rewriteLock;
};

Localization& localization() {
    static Localization* instance = new Localization();
    return *instance;
}

bool contains(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

// Lookups set English themselves when no language has been chosen yet.
void ensureLanguage() {
    if (getLanguage().empty()) {
        setLanguage(kEnglish);
    }
}

// The value after "key=" in the string file, or "" when the key is not there. The file is read
// once and kept, framed with line breaks so that the first and last lines match like the others.
std::string lookUpInFile(const std::string& path, const std::string& keyText) {
    Localization& state = localization();
    ScopedLock guard(state.cacheLock);
    if (!state.files.contains(path)) {
        std::string text;
        if (!contains(path, "*")) {
            readFileRaw(path, text);
        }
        text = replaceAll("\n" + text + "\n\n", "\r", "\n");
        state.files.set(path + "Low", toLower(text));
        state.files.set(path, text);
    }
    const std::string& text = *state.files.find(path);
    const std::string& lowered = *state.files.find(path + "Low");
    std::string needle = toLower("\n" + keyText);
    size_t at = lowered.find(needle);
    if (at == std::string::npos) {
        return std::string();
    }
    size_t start = at + needle.size();
    return text.substr(start, text.find('\n', start) - start);
}

// The English string file that corresponds to a language's string file path.
std::string englishCounterpart(const std::string& file, const std::string& language) {
    std::string languageFolder = gameFolder() + language + "\\";
    if (!startsWith(toLower(file), languageFolder)) {
        return file;
    }
    return gameFolder() + kEnglish + "\\" + file.substr(languageFolder.size());
}

// Writes the missing key with its value at the end of the string file unless the file (as it is
// on disk now) already has the key.
void appendMissingKey(const std::string& path, const std::string& keyText,
                      const std::string& value) {
    if (contains(path, "*")) {
        return;
    }
    // The file's bytes as they are: the rewrite must keep what the text checks would leave out.
    std::string text;
    readWholeFile(path, text);
    if (contains(toLower("\n" + text), toLower("\n" + keyText))) {
        return;
    }
    std::string stored = replaceAll(value, "\r\n", "<brr>");
    stored = replaceAll(stored, "\n", "<br>");
    stored = replaceAll(stored, "\r", "");
    ScopedLock guard(localization().rewriteLock);
    writeTextFile(path, text + format("\n%s%s", keyText.c_str(), stored.c_str()));
}

// Whether the name is one folder of the game folder. A language folder is listed and preloaded
// with everything below it, so a path ("..", separators, a drive) would reach beyond the game.
bool isFolderName(const std::string& name) {
    return name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

} // namespace

void setLanguage(const std::string& folder) {
    std::string name = toLower(folder);
    if (!isFolderName(name)) {
        showErrorBox(format("Language folder '%s' is not a folder name: %s is used instead",
                            folder.c_str(), kEnglish.c_str()),
                     false);
        name = kEnglish;
    }
    Localization& state = localization();
    ScopedLock guard(state.languageLock);
    state.language = name;
    state.languageChanged = true;
}

std::string getLanguage() {
    Localization& state = localization();
    ScopedLock guard(state.languageLock);
    return state.language;
}

std::string localize(const std::string& key, const char* defaultText) {
    ensureLanguage();
    Localization& state = localization();
    std::string path;
    {
        ScopedLock guard(state.languageLock);
        if (state.stringFilePath.empty() || state.languageChanged) {
            state.languageChanged = false;
            state.stringFilePath = resolveDataPathUncached("strings.lng");
        }
        path = state.stringFilePath;
    }
    return lookupString(key, defaultText, "", path, getLanguage());
}

std::string localizeIn(const std::string& key, const char* defaultText, const std::string& name) {
    ensureLanguage();
    std::string relative = name;
    if (!contains(name, ".lng")) {
        relative = splitPath(name, true, true, false, false) + "strings.lng";
    }
    makeDataRelative(relative);
    return lookupString(key, defaultText, "", resolveDataPath(relative), getLanguage());
}

std::string lookupString(const std::string& key, const char* defaultText, const std::string& folder,
                         const std::string& file, const std::string& language) {
    std::string lang = language.empty() ? getLanguage() : language;
    if (lang.empty()) {
        setLanguage(kEnglish);
        return localize(key, defaultText);
    }
    if (key.empty()) {
        return std::string();
    }
    std::string keyText = key + "=";
    std::string cacheKey;
    std::string filePath;
    if (folder.empty()) {
        cacheKey = file + keyText;
        filePath = file;
    } else {
        cacheKey = format("%s\\%s%s", lang.c_str(), file.c_str(), keyText.c_str());
        filePath = format("%s%s\\%s.lng", folder.c_str(), lang.c_str(), file.c_str());
    }

    Localization& state = localization();
    bool debugMode = debugModeActive();
    if (!debugMode) {
        ScopedLock guard(state.cacheLock);
        if (const std::string* cached = state.strings.find(cacheKey)) {
            return *cached;
        }
    }

    std::string value;
    bool literalOrFile = false;
    if (startsWith(key, "#")) {
        value = key;
        literalOrFile = true;
    } else {
        value = lookUpInFile(filePath, keyText);
        if (value.empty()) {
            ScopedLock guard(state.fallbackLock);
            if (lang != kEnglish) {
                std::string englishFile = folder.empty() ? englishCounterpart(file, lang) : file;
                value = lookupString(key, defaultText, folder, englishFile, kEnglish);
            } else {
                value = defaultText ? std::string(defaultText) : key;
            }
            appendMissingKey(filePath, keyText, value);
        }
        if (startsWith(value, "#")) {
            std::string valueFile = resolveDescriptionPath(value.substr(1), filePath);
            value.clear();
            readTextFile(valueFile, value);
            literalOrFile = true;
        }
    }
    value = replaceAll(value, "<br>", "\n");
    value = replaceAll(value, "<brr>", "\r\n");
    value = replaceAll(value, "\\n", "\n");

    if (!(debugMode && literalOrFile)) {
        ScopedLock guard(state.cacheLock);
        state.strings.set(cacheKey, value);
    }
    return value;
}

std::string findStringInFile(const std::string& key, const std::string& file) {
    return key.empty() ? std::string() : lookUpInFile(file, key + "=");
}

void clearLocalizationCaches() {
    Localization& state = localization();
    ScopedLock guard(state.cacheLock);
    state.strings.clear();
    state.files.clear();
}
