#include "platform/clock.h"
#include "platform/locks.h"
#include "platform/message_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(CriticalSectionLock, SameThreadMayEnterAgain) {
    CriticalSectionLock lock;
    ScopedLock outer(lock);
    {
        ScopedLock inner(lock);
        EXPECT_TRUE(inner.isLocked());
    }
    EXPECT_TRUE(lock.isHeldByCurrentThread());
}

TEST(CriticalSectionLock, OtherThreadWaitsUntilTheLastExit) {
    CriticalSectionLock lock;
    std::atomic<bool> entered{false};
    lock.lock();
    lock.lock();
    std::thread other([&] {
        ScopedLock guard(lock);
        entered = true;
    });
    lock.unlock();
    sleepMilliseconds(30);
    EXPECT_FALSE(entered);
    lock.unlock();
    other.join();
    EXPECT_TRUE(entered);
}

TEST(CriticalSectionLock, MisuseRaisesBadException) {
    CriticalSectionLock lock;
    EXPECT_THROW(lock.unlock(), CBadException);
    lock.lock();
    std::thread other([&] { EXPECT_THROW(lock.unlock(), CBadException); });
    other.join();
    lock.unlock();
    EXPECT_THROW(ScopedLock(nullptr), CBadException);
}

TEST(ScopedLock, LockedLaterAndReleasedAtScopeEnd) {
    CriticalSectionLock lock;
    {
        ScopedLock guard(lock, false);
        EXPECT_FALSE(lock.isHeldByCurrentThread());
        guard.lock();
        EXPECT_TRUE(lock.isHeldByCurrentThread());
    }
    EXPECT_FALSE(lock.isHeldByCurrentThread());
}

TEST(ScopedLock, MinimumHoldTimeKeepsTheLockThatLong) {
    CriticalSectionLock lock;
    uint32_t start = monotonicMilliseconds();
    {
        ScopedLock guard(lock);
        guard.setMinimumHoldTime(40);
    }
    EXPECT_GE(monotonicMilliseconds() - start, 40u);
    EXPECT_FALSE(lock.isHeldByCurrentThread());
}

TEST(ThreadMessageQueue, DeliversPostsInOrderAcrossThreads) {
    ThreadMessageQueue queue;
    std::vector<uint32_t> received;
    std::thread owner([&] {
        for (;;) {
            ThreadMessage message = queue.waitMessage();
            if (message.code == ThreadMessageQueue::kQuitMessage) {
                return;
            }
            received.push_back(message.code + static_cast<uint32_t>(message.first));
        }
    });
    queue.post(100, 1);
    queue.post(200, 2);
    queue.post(ThreadMessageQueue::kQuitMessage);
    owner.join();
    EXPECT_EQ(received, (std::vector<uint32_t>{101, 202}));

    ThreadMessage message;
    EXPECT_FALSE(queue.pollMessage(message));
    queue.post(7);
    ASSERT_TRUE(queue.pollMessage(message));
    EXPECT_EQ(message.code, 7u);
}
