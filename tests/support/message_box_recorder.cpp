#include "support/message_box_recorder.h"

#include "platform/message_box.h"

MessageBoxRecorder::MessageBoxRecorder(int initialAnswer) : answer(initialAnswer) {
    setMessageBoxHook([this](const std::string& text, const std::string&, int kind) {
        shown.push_back({text, kind});
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    setMessageBoxHook(nullptr);
}

bool MessageBoxRecorder::sawText(const std::string& fragment) const {
    for (const Box& box : shown) {
        if (box.text.find(fragment) != std::string::npos) {
            return true;
        }
    }
    return false;
}
