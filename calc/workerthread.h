#pragma once

#include <atomic>
#include <mutex>
#include <thread>

// A worker thread that is created suspended and runs its body once.
//
//   create (the body does not run) -> Resume() -> Execute() runs once -> delete
//
// Deleting waits until the body has returned. The body is a derived class's
// Execute, so the wait has to happen before the derived members are destroyed:
// every class that overrides Execute must be final and call WaitFor() first
// thing in its destructor. The base destructor waits as well, as a last resort
// that keeps the base's own members alive, but by then the derived part is gone.
class TThread {
public:
    TThread() = default;
    TThread(const TThread &) = delete;
    TThread &operator=(const TThread &) = delete;
    virtual ~TThread();

    // Starts the body. Only the first call does anything, so the body runs at
    // most once however often this is called. Throws std::system_error when
    // the system cannot start a thread (the body then has not run).
    void Resume();

    // Blocks until the body has returned. Returns at once when the thread was
    // never resumed or has already been waited for. Must not be called from the
    // body itself.
    void WaitFor();

    // True once Resume has started the body (it may have returned since).
    bool Resumed() const;

    // Asks the body to stop early; the calculations check it once per term.
    // May be called from any thread, before or after Resume.
    void RequestStop();
    bool StopRequested() const;

protected:
    // The flag RequestStop sets, for the body to hand to the calculations.
    const std::atomic<bool> *StopFlag() const { return &Stop; }

    // The thread body. Exceptions should be handled inside; one that escapes
    // is reported as a calculation error rather than ending the program.
    virtual void Execute() = 0;

private:
    void Run();

    mutable std::mutex Mutex;
    std::thread Worker;
    std::atomic<bool> Started{false};
    std::atomic<bool> Stop{false};
};
