#include "locks.h"

#include "clock.h"
#include "process.h"

void CriticalSectionLock::lock(uint32_t) {
    mutex.lock();
    owner = currentThreadId();
    ++depth;
}

void CriticalSectionLock::unlock() {
    if (owner != currentThreadId() || depth <= 0) {
        throw CBadException("CriticalSectionLock: unlock by a thread that does not hold the lock");
    }
    if (--depth == 0) {
        owner = 0;
    }
    mutex.unlock();
}

bool CriticalSectionLock::isHeldByCurrentThread() const {
    return owner == currentThreadId();
}

ScopedLock::ScopedLock(CriticalSectionLock* lock, bool lockNow)
    : target(lock), startTick(monotonicMilliseconds()) {
    if (!target) {
        throw CBadException("ScopedLock on a null lock");
    }
    if (lockNow) {
        this->lock();
    }
}

ScopedLock::~ScopedLock() {
    if (minimumHoldMs > 0) {
        uint32_t held = monotonicMilliseconds() - startTick;
        if (held < minimumHoldMs) {
            sleepMilliseconds(minimumHoldMs - held);
        }
    }
    if (locked) {
        target->unlock();
    }
}

void ScopedLock::lock() {
    target->lock(CriticalSectionLock::kInfinite);
    locked = true;
}

void ScopedLock::unlock() {
    if (locked) {
        locked = false;
        target->unlock();
    }
}
