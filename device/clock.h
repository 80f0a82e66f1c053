#pragma once
// Time for the device link: pacing sleeps, busy waits and time-outs go through
// a Clock so tests can run them without waiting.
//
// The pauses of a command run on the GUI thread while the window is up. There
// the window must keep painting, timers must keep running and, on Windows,
// the low-level input hooks (which are called on that thread) must keep being
// answered; but a click or a key must not start a second operation. So a
// pause on the GUI thread runs a local event loop that leaves user input
// queued until the command is over; on other threads it is a plain sleep.

#include <QElapsedTimer>
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

namespace guithread {
// True on the thread of the application object (false without one).
bool isCurrent();
// Runs the calling thread's event loop for `ms` milliseconds of real time,
// user input excluded (it stays queued for later).
void waitRunningEvents(int ms);
} // namespace guithread

// Real time, from a monotonic clock (a change of the system's time does not
// shorten a pause). On the GUI thread a pause keeps the event loop running
// without user input; elsewhere it sleeps. processEvents runs the calling
// thread's event loop once.
class SystemClock : public Clock {
public:
    SystemClock();
    void sleepMs(int ms) override;
    qint64 nowMs() const override;
    void processEvents() override;
private:
    QElapsedTimer m_start;
};

// Advances instantly and records the time it was asked to pass. Thread-safe.
class VirtualClock : public Clock {
public:
    void sleepMs(int ms) override;
    qint64 nowMs() const override { return m_now.load(); }
    void processEvents() override { if (onProcessEvents) onProcessEvents(); }
    void advance(qint64 ms) { m_now.fetch_add(ms); }
    // Tests set this to run code "from an event handler" inside a busy wait.
    std::function<void()> onProcessEvents;
    // Tests of the window set this (> 0): a pause on the GUI thread then
    // passes in steps of at most `frameMs`, and after each step the events
    // pending on the GUI thread run, user input excluded, as during a real
    // pause (the same wait, without its length). The time a pause adds up to
    // is the same. 0 (the default): a pause only moves the time on.
    void setGuiFrameMs(int frameMs) { m_frameMs = frameMs; }
private:
    std::atomic<qint64> m_now{0};
    std::atomic<int> m_frameMs{0};
};
