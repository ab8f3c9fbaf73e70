#include "message_queue.h"

void ThreadMessageQueue::post(uint32_t code, intptr_t first, intptr_t second) {
    {
        std::lock_guard<std::mutex> guard(mutex);
        messages.push_back({code, first, second});
    }
    arrived.notify_one();
}

ThreadMessage ThreadMessageQueue::waitMessage() {
    std::unique_lock<std::mutex> guard(mutex);
    arrived.wait(guard, [this] { return !messages.empty(); });
    ThreadMessage message = messages.front();
    messages.pop_front();
    return message;
}

bool ThreadMessageQueue::pollMessage(ThreadMessage& message) {
    std::lock_guard<std::mutex> guard(mutex);
    if (messages.empty()) {
        return false;
    }
    message = messages.front();
    messages.pop_front();
    return true;
}
