#include "workerthread.h"

#include "calcerrors.h"

#include <exception>
#include <string>

TThread::~TThread() {
    WaitFor();
}

void TThread::Resume() {
    std::lock_guard lock(Mutex);
    if (Started)
        return;
    Worker = std::thread([this] { Run(); });
    Started = true;
}

void TThread::WaitFor() {
    std::lock_guard lock(Mutex);
    if (Worker.joinable())
        Worker.join();
}

bool TThread::Resumed() const {
    return Started.load();
}

void TThread::RequestStop() {
    Stop.store(true);
}

bool TThread::StopRequested() const {
    return Stop.load();
}

void TThread::Run() {
    try {
        Execute();
    } catch (const CalculationStopped &) {
        // asked to stop: nothing to report
    } catch (const std::exception &e) {
        ReportCalculationError(e.what());
    } catch (...) {
        ReportCalculationError("The calculation stopped with an unknown failure.");
    }
}
