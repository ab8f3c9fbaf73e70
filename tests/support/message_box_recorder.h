#pragma once

#include <string>
#include <vector>

// Replaces the platform message box for the scope: every box is recorded and answered with
// `answer` at once.
class MessageBoxRecorder {
public:
    struct Box {
        std::string text;
        int kind;
    };

    explicit MessageBoxRecorder(int answer = 1);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void setAnswer(int newAnswer) { answer = newAnswer; }
    const std::vector<Box>& boxes() const { return shown; }
    // True when a recorded box's text contains the fragment.
    bool sawText(const std::string& fragment) const;

private:
    int answer;
    std::vector<Box> shown;
};
