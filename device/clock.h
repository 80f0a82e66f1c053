#pragma once
// Time for the device link: pacing sleeps, busy waits and time-outs go through
// a Clock so tests can run them without waiting.

#include <QtGlobal>
#include <atomic>
#include <functional>

class Clock {
public:
    virtual ~Clock() = default;
    // Blocks the caller for `ms` milliseconds of this clock's time.
    virtual void sleepMs(int ms) = 0;
    // Milliseconds since an arbitrary, fixed start.
    virtual qint64 nowMs() const = 0;
    // Lets pending GUI events run (the busy wait and the transport do this).
    virtual void processEvents() = 0;
};

// Real time; processEvents runs the Qt event loop of the calling thread.
class SystemClock : public Clock {
public:
    SystemClock();
    void sleepMs(int ms) override;
    qint64 nowMs() const override;
    void processEvents() override;
private:
    qint64 m_start;
};

// Advances instantly and records the time it was asked to pass. Thread-safe.
class VirtualClock : public Clock {
public:
    void sleepMs(int ms) override { m_now.fetch_add(ms > 0 ? ms : 0); }
    qint64 nowMs() const override { return m_now.load(); }
    void processEvents() override { if (onProcessEvents) onProcessEvents(); }
    void advance(qint64 ms) { m_now.fetch_add(ms); }
    // Tests set this to run code "from an event handler" inside a busy wait.
    std::function<void()> onProcessEvents;
private:
    std::atomic<qint64> m_now{0};
};
