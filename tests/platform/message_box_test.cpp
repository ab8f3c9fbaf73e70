#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets or clears environment variables for one test and puts them back afterwards.
class EnvironmentScope {
public:
    EnvironmentScope(const char* name, const char* value) : name(name) {
        const char* old = std::getenv(name);
        hadOld = old != nullptr;
        if (hadOld) {
            oldValue = old;
        }
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~EnvironmentScope() {
        if (hadOld) {
            setenv(name, oldValue.c_str(), 1);
        } else {
            unsetenv(name);
        }
    }

private:
    const char* name;
    bool hadOld;
    std::string oldValue;
};

} // namespace

TEST(UnattendedMessageBox, EnvironmentAnswerIsUsedWhenTheBoxHasThatButton) {
    EnvironmentScope answer("VELLUM_MESSAGEBOX", "no");
    EXPECT_EQ(showPlatformMessageBox("question", "caption", kBoxYesNo), kAnswerNo);
    EXPECT_EQ(showPlatformMessageBox("question", "caption", kBoxYesNoCancel), kAnswerNo);
    EXPECT_EQ(showPlatformMessageBox("note", "caption", kBoxOk), kAnswerOk);
}

TEST(UnattendedMessageBox, DefaultsAreYesForYesNoAndOkOtherwise) {
    EnvironmentScope noAnswer("VELLUM_MESSAGEBOX", nullptr);
    EnvironmentScope ci("CI", "1");
    EXPECT_EQ(showPlatformMessageBox("question", "caption", kBoxYesNo | kBoxIconExclamation),
              kAnswerYes);
    EXPECT_EQ(showPlatformMessageBox("note", "caption", kBoxOk), kAnswerOk);
}

TEST(UnattendedMessageBox, UnattendedRunAnswersWithoutTheEnvironment) {
    EnvironmentScope noAnswer("VELLUM_MESSAGEBOX", nullptr);
    EnvironmentScope noCi("CI", nullptr);
    EnvironmentScope noDisplay("DISPLAY", nullptr);
    setUnattendedRun(true);
    EXPECT_EQ(showPlatformMessageBox("question", "caption", kBoxYesNo), kAnswerYes);
    setUnattendedRun(false);
    // Without a display no box can be shown: the box answers instead of hanging.
    EXPECT_EQ(showPlatformMessageBox("question", "caption", kBoxYesNo), kAnswerYes);
}

TEST(UnattendedMessageBox, HookReplacesTheBox) {
    std::string seenText;
    int seenKind = -1;
    setMessageBoxHook([&](const std::string& text, const std::string&, int kind) {
        seenText = text;
        seenKind = kind;
        return kAnswerRetry;
    });
    EXPECT_EQ(showPlatformMessageBox("retry?", "caption", kBoxRetryCancel), kAnswerRetry);
    setMessageBoxHook(nullptr);
    EXPECT_EQ(seenText, "retry?");
    EXPECT_EQ(seenKind, kBoxRetryCancel);
}
