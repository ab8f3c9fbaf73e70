#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

// A thread's message queue: other threads post, the owning thread blocks until a message
// arrives. The message codes are the poster's; kQuitMessage asks the owner to leave its loop.
struct ThreadMessage {
    uint32_t code;
    intptr_t first;
    intptr_t second;
};

class ThreadMessageQueue {
public:
    static constexpr uint32_t kQuitMessage = 0x0010;

    void post(uint32_t code, intptr_t first = 0, intptr_t second = 0);
    ThreadMessage waitMessage();
    // Takes a message when one is queued; false at once otherwise.
    bool pollMessage(ThreadMessage& message);

private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<ThreadMessage> messages;
};
