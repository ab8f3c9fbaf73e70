#pragma once

#include "bad_exception.h"

#include <atomic>
#include <cstdint>
#include <mutex>

// The engine's only lock: re-entrant, so the same thread may enter again (the scene lock is
// taken again by node lookups inside locked scene changes). Unlocking a lock the calling thread
// does not hold raises CBadException.
class CriticalSectionLock {
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFFu;

    CriticalSectionLock() = default;
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

    // The timeout is accepted for the callers' sake; entering always waits.
    void lock(uint32_t timeoutMs = kInfinite);
    void unlock();
    bool isHeldByCurrentThread() const;

private:
    std::recursive_mutex mutex;
    std::atomic<uint32_t> owner{0};
    int depth = 0;
};

// Holds a lock for a scope. With a minimum hold time set, the destructor first sleeps for the
// rest of it, then unlocks if the lock is held.
class ScopedLock {
public:
    explicit ScopedLock(CriticalSectionLock* lock, bool lockNow = true);
    explicit ScopedLock(CriticalSectionLock& lock, bool lockNow = true)
        : ScopedLock(&lock, lockNow) {}
    ~ScopedLock();
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

    void lock();
    void unlock();
    bool isLocked() const { return locked; }
    void setMinimumHoldTime(uint32_t milliseconds) { minimumHoldMs = milliseconds; }

private:
    CriticalSectionLock* target;
    uint32_t startTick;
    uint32_t minimumHoldMs = 0;
    bool locked = false;
};
