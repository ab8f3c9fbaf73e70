#pragma once

#include <functional>
#include <string>

// Message-box kinds and answers keep the Windows values that the engine's callers use.
enum MessageBoxKind {
    kBoxOk = 0,
    kBoxOkCancel = 1,
    kBoxAbortRetryIgnore = 2,
    kBoxYesNoCancel = 3,
    kBoxYesNo = 4,
    kBoxRetryCancel = 5,
    kBoxButtonMask = 0x0F,
    kBoxIconMask = 0xF0,
    kBoxIconExclamation = 0x30,
};

enum MessageBoxAnswer {
    kAnswerOk = 1,
    kAnswerCancel = 2,
    kAnswerAbort = 3,
    kAnswerRetry = 4,
    kAnswerIgnore = 5,
    kAnswerYes = 6,
    kAnswerNo = 7,
};

// Shows a modal box and blocks until the user answers. Where no box can be shown, in an
// unattended run, or when VELLUM_MESSAGEBOX says "yes", "no" or "ok", the text goes to standard
// error and the box answers at once: the variable's answer when the box has that button,
// otherwise Yes for a Yes/No box and OK for any other.
int showPlatformMessageBox(const std::string& text, const std::string& caption, int kind);

// Marks the run as unattended (no one to answer boxes).
void setUnattendedRun(bool unattended);
// True when no one is there to answer: the run was marked unattended or CI is set in the
// environment. Boxes and prompts answer at once then.
bool isUnattendedRun();

// Tests replace the box with a function of their own; an empty hook restores the real box.
using MessageBoxHook =
    std::function<int(const std::string& text, const std::string& caption, int kind)>;
void setMessageBoxHook(MessageBoxHook hook);
