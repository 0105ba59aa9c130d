// A plain lock for every build: the mingw toolchain's win32 thread model has no std::mutex, so Windows uses an SRW
// lock. Both forms are constant-initialised, so a global Mutex is usable before any constructor has run.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#else
#include <mutex>
#endif

namespace mapipim
{
class Mutex
{
public:
    constexpr Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

#if defined(_WIN32)
    void Lock()
    {
        AcquireSRWLockExclusive(&m_lock);
    }
    void Unlock()
    {
        ReleaseSRWLockExclusive(&m_lock);
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
#else
    void Lock()
    {
        m_mutex.lock();
    }
    void Unlock()
    {
        m_mutex.unlock();
    }

private:
    std::mutex m_mutex;
#endif
};

class MutexLock
{
public:
    explicit MutexLock(Mutex& mutex) : m_mutex(mutex) { m_mutex.Lock(); }
    ~MutexLock() { m_mutex.Unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    Mutex& m_mutex;
};
} // namespace mapipim
