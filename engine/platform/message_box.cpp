#include "message_box.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::atomic<bool> unattendedRun{false};
MessageBoxHook boxHook;

struct Button {
    int answer;
    const char* label;
};

std::vector<Button> buttonsOf(int kind) {
    switch (kind & kBoxButtonMask) {
    case kBoxOkCancel:
        return {{kAnswerOk, "OK"}, {kAnswerCancel, "Cancel"}};
    case kBoxAbortRetryIgnore:
        return {{kAnswerAbort, "Abort"}, {kAnswerRetry, "Retry"}, {kAnswerIgnore, "Ignore"}};
    case kBoxYesNoCancel:
        return {{kAnswerYes, "Yes"}, {kAnswerNo, "No"}, {kAnswerCancel, "Cancel"}};
    case kBoxYesNo:
        return {{kAnswerYes, "Yes"}, {kAnswerNo, "No"}};
    case kBoxRetryCancel:
        return {{kAnswerRetry, "Retry"}, {kAnswerCancel, "Cancel"}};
    default:
        return {{kAnswerOk, "OK"}};
    }
}

// The answer VELLUM_MESSAGEBOX asks for, or 0 when it names none.
int answerFromEnvironment() {
    const char* value = std::getenv("VELLUM_MESSAGEBOX");
    if (!value) {
        return 0;
    }
    if (std::strcmp(value, "yes") == 0) {
        return kAnswerYes;
    }
    if (std::strcmp(value, "no") == 0) {
        return kAnswerNo;
    }
    if (std::strcmp(value, "ok") == 0) {
        return kAnswerOk;
    }
    return 0;
}

int unattendedAnswer(const std::string& text, int kind, int requested) {
    std::fprintf(stderr, "[message box] %s\n", text.c_str());
    for (const Button& button : buttonsOf(kind)) {
        if (button.answer == requested) {
            return requested;
        }
    }
    return (kind & kBoxButtonMask) == kBoxYesNo ? kAnswerYes : kAnswerOk;
}

int showSdlBox(const std::string& text, const std::string& caption, int kind) {
    std::vector<Button> buttons = buttonsOf(kind);
    std::vector<SDL_MessageBoxButtonData> data;
    for (size_t i = 0; i < buttons.size(); ++i) {
        Uint32 flags = 0;
        if (i == 0) {
            flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        }
        if (i + 1 == buttons.size()) {
            flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
        data.push_back({flags, buttons[i].answer, buttons[i].label});
    }
    SDL_MessageBoxData box{};
    box.flags = (kind & kBoxIconMask) == kBoxIconExclamation ? SDL_MESSAGEBOX_WARNING
                                                             : SDL_MESSAGEBOX_INFORMATION;
    box.title = caption.c_str();
    box.message = text.c_str();
    box.numbuttons = static_cast<int>(data.size());
    box.buttons = data.data();
    int answer = -1;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        return -1;
    }
    // A box closed through its window frame counts as the Escape button.
    return answer >= 0 ? answer : buttons.back().answer;
}

} // namespace

int showPlatformMessageBox(const std::string& text, const std::string& caption, int kind) {
    if (boxHook) {
        return boxHook(text, caption, kind);
    }
    int requested = answerFromEnvironment();
    if (requested != 0 || isUnattendedRun()) {
        return unattendedAnswer(text, kind, requested);
    }
    int answer = showSdlBox(text, caption, kind);
    return answer >= 0 ? answer : unattendedAnswer(text, kind, 0);
}

void setUnattendedRun(bool unattended) {
    unattendedRun = unattended;
}

bool isUnattendedRun() {
    return unattendedRun || std::getenv("CI") != nullptr;
}

void setMessageBoxHook(MessageBoxHook hook) {
    boxHook = std::move(hook);
}
