#include "dialog_registry.h"

#include "dialogs/dialog_stacks.h"
#include "platform/locks.h"
#include "scene/description_values.h"
#include "scene/node_factory.h"
#include "utils/debug.h"
#include "utils/string_hash_map.h"
#include "utils/utils_str.h"

#include <algorithm>
#include <vector>

namespace {

// The registries behind one lock. Never destroyed: dialogs may close during static destruction.
struct DialogRegistry {
    CriticalSectionLock lock;
    StringHashMap<std::string> files;
    std::vector<std::string> escActions;
    std::vector<std::string> keyActions;
    std::vector<std::string> music;
};

DialogRegistry& registry() {
    static auto* instance = new DialogRegistry();
    return *instance;
}

void removeFirst(std::vector<std::string>& stack, const std::string& entry) {
    auto found = std::find(stack.begin(), stack.end(), entry);
    if (found != stack.end()) {
        stack.erase(found);
    }
}

std::string topOf(const std::vector<std::string>& stack) {
    return stack.empty() ? std::string() : stack.back();
}

} // namespace

int registerDialogFile(const std::string& path) {
    // Read as the dialog factory reads it, so a name on the file's last line counts too.
    const std::string text = readDescriptionFile(path);
    std::string name;
    if (getKeyValue(text, "-DialogName:", name) && !trim(name).empty()) {
        DialogRegistry& dialogs = registry();
        ScopedLock guard(dialogs.lock);
        dialogs.files.set(trim(name), path);
    }
    return 1;
}

std::string getDialogFile(const std::string& name) {
    {
        DialogRegistry& dialogs = registry();
        ScopedLock guard(dialogs.lock);
        if (const std::string* file = dialogs.files.find(name)) {
            return *file;
        }
    }
    reportError("incorrect dialog name!!!", false);
    return std::string();
}

std::string getTopEscAction() {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    return topOf(dialogs.escActions);
}

std::string getTopKeyAction() {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    return topOf(dialogs.keyActions);
}

void pushDialogActions(const std::string& escAction, const std::string& keyAction) {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    if (!escAction.empty()) {
        dialogs.escActions.push_back(escAction);
    }
    if (!keyAction.empty()) {
        dialogs.keyActions.push_back(keyAction);
    }
}

void removeDialogActions(const std::string& escAction, const std::string& keyAction) {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    removeFirst(dialogs.escActions, escAction);
    removeFirst(dialogs.keyActions, keyAction);
}

void pushDialogMusic(const std::string& music) {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    dialogs.music.push_back(music);
}

std::string removeDialogMusic(const std::string& music) {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    removeFirst(dialogs.music, music);
    return topOf(dialogs.music);
}
