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

// An action on a stack, with the dialog file it was written in.
struct StackedAction {
    std::string text;
    std::string file;
};

// The registries behind one lock. Never destroyed: dialogs may close during static destruction.
struct DialogRegistry {
    CriticalSectionLock lock;
    StringHashMap<std::string> files;
    std::vector<StackedAction> escActions;
    std::vector<StackedAction> keyActions;
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

void removeFirstAction(std::vector<StackedAction>& stack, const std::string& text) {
    auto found = std::find_if(stack.begin(), stack.end(),
                              [&](const StackedAction& action) { return action.text == text; });
    if (found != stack.end()) {
        stack.erase(found);
    }
}

StackedAction topAction(const std::vector<StackedAction>& stack) {
    return stack.empty() ? StackedAction() : stack.back();
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
    return topAction(dialogs.escActions).text;
}

std::string getTopKeyAction() {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    return topAction(dialogs.keyActions).text;
}

std::string getTopEscActionFile() {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    return topAction(dialogs.escActions).file;
}

std::string getTopKeyActionFile() {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    return topAction(dialogs.keyActions).file;
}

void pushDialogActions(const std::string& escAction, const std::string& keyAction,
                       const std::string& dialogFile) {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    if (!escAction.empty()) {
        dialogs.escActions.push_back({escAction, dialogFile});
    }
    if (!keyAction.empty()) {
        dialogs.keyActions.push_back({keyAction, dialogFile});
    }
}

void removeDialogActions(const std::string& escAction, const std::string& keyAction) {
    DialogRegistry& dialogs = registry();
    ScopedLock guard(dialogs.lock);
    removeFirstAction(dialogs.escActions, escAction);
    removeFirstAction(dialogs.keyActions, keyAction);
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
